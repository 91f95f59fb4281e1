#include "document/DomNode.h"

#include <sstream>

#include <new>

#include "document/DomTree.h"

namespace jorvo {

DomNode::DomNode(std::shared_ptr<DomTree> tree, pugi::xml_node node) : tree_(std::move(tree)), node_(node) {}

DomNodeType DomNode::Type() const
{
    switch (node_.type()) {
    case pugi::node_null: return DomNodeType::Null;
    case pugi::node_document: return DomNodeType::Document;
    case pugi::node_element: return DomNodeType::Element;
    case pugi::node_pcdata: return DomNodeType::Text;
    case pugi::node_cdata: return DomNodeType::CData;
    case pugi::node_comment: return DomNodeType::Comment;
    case pugi::node_pi: return DomNodeType::ProcessingInstruction;
    default: return DomNodeType::Other;
    }
}

std::string DomNode::NodeName() const
{
    switch (Type()) {
    case DomNodeType::Document: return "#document";
    case DomNodeType::Text: return "#text";
    case DomNodeType::CData: return "#cdata-section";
    case DomNodeType::Comment: return "#comment";
    default: return node_.name();
    }
}

std::string DomNode::TagName() const
{
    return Type() == DomNodeType::Element ? std::string(node_.name()) : std::string();
}

DomNodeList DomNode::ChildNodes() const
{
    if (!node_)
        return {};
    std::vector<pugi::xml_node> children;
    for (pugi::xml_node child : node_.children()) {
        if (!tree_->IsHolder(child))
            children.push_back(child);
    }
    return DomNodeList(tree_, std::move(children));
}

bool DomNode::MayHoldChild(const DomNode& child) const
{
    if (!node_ || !child.node_ || tree_ != child.tree_ || tree_->IsHolder(child.node_))
        return false;
    switch (child.Type()) {
    case DomNodeType::Element: {
        if (Type() == DomNodeType::Element)
            return true;
        const pugi::xml_node root = tree_->DocumentElement();
        return Type() == DomNodeType::Document && (!root || root == child.node_);
    }
    case DomNodeType::Comment:
    case DomNodeType::ProcessingInstruction:
        return Type() == DomNodeType::Element || Type() == DomNodeType::Document;
    case DomNodeType::Text:
    case DomNodeType::CData:
        return Type() == DomNodeType::Element;
    default:
        return false;
    }
}

DomNode DomNode::AppendChild(const DomNode& child) const
{
    if (!MayHoldChild(child))
        return {};
    // At the top the holder stays last, so it never comes before the document element.
    const bool beforeHolder = Type() == DomNodeType::Document && tree_->holder;
    pugi::xml_node parent = node_;
    const pugi::xml_node moved = beforeHolder ? parent.insert_move_before(child.node_, tree_->holder)
                                              : parent.append_move(child.node_);
    return moved ? child : DomNode();
}

DomNode DomNode::AppendXmlText(const std::string& text) const
{
    if (Type() != DomNodeType::Element)
        return {};
    pugi::xml_document fragment;
    if (!fragment.load_string(text.c_str()) || !fragment.document_element())
        return {};
    pugi::xml_node parent = node_;
    const pugi::xml_node copy = parent.append_copy(fragment.document_element());
    return copy ? DomNode(tree_, copy) : DomNode();
}

std::string DomNode::OuterXml() const
{
    if (!node_)
        return {};
    std::ostringstream text;
    node_.print(text, "", pugi::format_raw);
    return text.str();
}

DomNode DomNode::RemoveChild(const DomNode& child) const
{
    if (!node_ || !child.node_ || tree_ != child.tree_ || child.node_.parent() != node_ ||
        tree_->IsHolder(child.node_))
        return {};
    return tree_->Holder().append_move(child.node_) ? child : DomNode();
}

std::optional<DomNodeList> DomNode::SelectNodes(const std::string& xpath) const
{
    if (!node_)
        return std::nullopt;
    try {
        const pugi::xpath_query query(xpath.c_str());
        if (query.return_type() != pugi::xpath_type_node_set)
            return std::nullopt;
        pugi::xpath_node_set found = query.evaluate_node_set(node_);
        found.sort();
        // A search sees only the tree its start node belongs to, never the holder's other nodes.
        const pugi::xml_node ownRoot = tree_->DetachedRoot(node_);
        std::vector<pugi::xml_node> nodes;
        for (const pugi::xpath_node& match : found) {
            const pugi::xml_node node = match.node();
            if (node && !tree_->IsHolder(node) && tree_->DetachedRoot(node) == ownRoot)
                nodes.push_back(node);
        }
        return DomNodeList(tree_, std::move(nodes));
    } catch (const pugi::xpath_exception&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<DomNode> DomNode::SelectSingleNode(const std::string& xpath) const
{
    const std::optional<DomNodeList> nodes = SelectNodes(xpath);
    if (!nodes)
        return std::nullopt;
    return nodes->Item(0);
}

bool DomNode::SetAttribute(const std::string& name, const std::string& value) const
{
    if (Type() != DomNodeType::Element || !IsXmlName(name))
        return false;
    pugi::xml_node element = node_;
    pugi::xml_attribute attribute = element.attribute(name.c_str());
    if (!attribute)
        attribute = element.append_attribute(name.c_str());
    return attribute.set_value(value.c_str(), value.size());
}

std::optional<std::string> DomNode::GetAttribute(const std::string& name) const
{
    if (Type() != DomNodeType::Element)
        return std::nullopt;
    const pugi::xml_attribute attribute = node_.attribute(name.c_str());
    if (!attribute)
        return std::nullopt;
    return std::string(attribute.value());
}

DomNodeList::DomNodeList(std::shared_ptr<DomTree> tree, std::vector<pugi::xml_node> nodes)
    : tree_(std::move(tree)), nodes_(std::move(nodes))
{
}

DomNode DomNodeList::Item(std::size_t index) const
{
    return index < nodes_.size() ? DomNode(tree_, nodes_[index]) : DomNode();
}

DomNode DomNodeList::NextNode()
{
    if (next_ >= nodes_.size())
        return {};
    return DomNode(tree_, nodes_[next_++]);
}

} // namespace jorvo
