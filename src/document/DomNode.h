#pragma once
// Light handles to the nodes of a document and to lists of them. A handle shares ownership of
// its document's storage, so it stays valid after the document object is gone or reloaded; a
// missing node is an empty handle, and every operation on one fails quietly. UI thread only.
#include <cstddef>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace jorvo {

struct DomTree;
class DomNodeList;

enum class DomNodeType { Null, Document, Element, Text, CData, Comment, ProcessingInstruction, Other };

class DomNode {
public:
    // An empty handle.
    DomNode() = default;

    // True for an empty handle.
    bool IsNull() const { return !node_; }
    explicit operator bool() const { return !IsNull(); }
    // Both handles name the same node (two empty handles are equal).
    bool operator==(const DomNode& other) const { return node_ == other.node_; }

    // The kind of node; Null for an empty handle.
    DomNodeType Type() const;
    // The tag of an element, "#text", "#cdata-section", "#comment", "#document", or a processing
    // instruction's target; empty for an empty handle.
    std::string NodeName() const;
    // The tag of an element (exact case); empty for any other node.
    std::string TagName() const;

    // The children in document order (a snapshot); an empty list for an empty handle.
    DomNodeList ChildNodes() const;
    // Makes `child` (of the same document) the last child of this node, moving it from where it
    // was. Returns `child`, or an empty handle when it cannot go there (other document, its own
    // ancestor, a second document element, a node kind this parent cannot hold).
    DomNode AppendChild(const DomNode& child) const;
    // Parses `text`, one element with its content, and appends a copy as the last child of this
    // element. Returns the new child, or an empty handle when `text` is not one well-formed
    // element or this is not an element.
    DomNode AppendXmlText(const std::string& text) const;

    // This element and everything below it as XML text without layout; empty for an empty handle.
    std::string OuterXml() const;

    // Takes `child` out of this node; the handle stays usable and may be appended again. Returns
    // `child`, or an empty handle when it is not a child of this node.
    DomNode RemoveChild(const DomNode& child) const;

    // The nodes an XPath 1.0 expression selects relative to this node, in document order; an
    // empty list when nothing matches. No value when the expression is invalid, does not select
    // nodes, or this handle is empty. Attributes selected are left out.
    std::optional<DomNodeList> SelectNodes(const std::string& xpath) const;
    // The first of SelectNodes in document order: an empty handle when nothing matches, no value
    // when SelectNodes has none.
    std::optional<DomNode> SelectSingleNode(const std::string& xpath) const;

    // Sets attribute `name` of this element to `value`, replacing one of the same name. False
    // when this is not an element or `name` is not a valid XML name.
    bool SetAttribute(const std::string& name, const std::string& value) const;
    // The text of attribute `name`; no value when there is no such attribute or no element.
    std::optional<std::string> GetAttribute(const std::string& name) const;

private:
    friend class DomDocument;
    friend class DomNodeList;
    DomNode(std::shared_ptr<DomTree> tree, pugi::xml_node node);
    bool MayHoldChild(const DomNode& child) const;

    std::shared_ptr<DomTree> tree_;
    pugi::xml_node node_;
};

class DomNodeList {
public:
    // An empty list.
    DomNodeList() = default;

    // The number of nodes.
    std::size_t Length() const { return nodes_.size(); }
    // The node at `index`; an empty handle past the end.
    DomNode Item(std::size_t index) const;
    // The node after the one returned last (the first at the start); an empty handle at the end.
    DomNode NextNode();
    // Starts NextNode from the first node again.
    void Reset() { next_ = 0; }

private:
    friend class DomNode;
    DomNodeList(std::shared_ptr<DomTree> tree, std::vector<pugi::xml_node> nodes);

    std::shared_ptr<DomTree> tree_;
    std::vector<pugi::xml_node> nodes_;
    std::size_t next_ = 0;
};

} // namespace jorvo
