#include "document/DomTree.h"

namespace jorvo {
namespace {

bool IsNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(unsigned char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

} // namespace

pugi::xml_node DomTree::Holder()
{
    if (!holder)
        holder = document.append_child(pugi::node_element);
    return holder;
}

pugi::xml_node DomTree::DetachedRoot(pugi::xml_node node) const
{
    if (!holder)
        return {};
    for (pugi::xml_node cursor = node; cursor; cursor = cursor.parent()) {
        if (cursor.parent() == holder)
            return cursor;
    }
    return {};
}

pugi::xml_node DomTree::DocumentElement() const
{
    for (pugi::xml_node child : document.children()) {
        if (child.type() == pugi::node_element && child != holder)
            return child;
    }
    return {};
}

bool IsXmlName(const std::string& name)
{
    if (name.empty() || !IsNameStart(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name) {
        if (!IsNameChar(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

} // namespace jorvo
