#pragma once
// The storage behind documents and node handles, shared by all of them so that a handle keeps
// its nodes alive. Nodes created but not yet inserted, and nodes removed from the tree, live
// under a hidden holder element at the end of the document, so a handle to them never dangles;
// the holder is never shown, searched or saved.
#include <pugixml.hpp>
#include <string>

namespace jorvo {

struct DomTree {
    pugi::xml_document document;
    // The holder of detached nodes; empty until a node is first detached.
    pugi::xml_node holder;

    // The holder, created on demand as the document's last child.
    pugi::xml_node Holder();
    // True for the holder itself.
    bool IsHolder(pugi::xml_node node) const { return holder && node == holder; }
    // The top of the detached subtree containing `node`; empty when `node` is in the document.
    pugi::xml_node DetachedRoot(pugi::xml_node node) const;
    // The first element of the document other than the holder; empty when none.
    pugi::xml_node DocumentElement() const;
};

// True when `name` may name an element or an attribute (the XML name rule, with any non-ASCII
// character accepted as a name character).
bool IsXmlName(const std::string& name);

} // namespace jorvo
