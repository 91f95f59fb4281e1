#include "ui/SkinView.h"

#include <algorithm>
#include <filesystem>

#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/TargetPaths.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "ui/UIElement.h"
#include "ui/UIElementFactory.h"
#include "ui/UIMessages.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {

SkinView::SkinView(QWidget* parent) : QWidget(parent) {}

SkinView::~SkinView()
{
    ClearElements();
}

void SkinView::SetTitle(const std::string& title)
{
    if (title == title_)
        return;
    title_ = title;
    emit titleChanged();
}

std::string SkinView::SkinPath(const std::string& name, const std::string& className)
{
    return GetSkinPath(name, className);
}

std::string SkinView::SequencerSkinPath()
{
    return JoinPath(JoinPath(Configuration().GetSkinsDir(), "Sequencer"), "Sequencer.skin");
}

bool SkinView::LoadSkin(const std::string& name, const std::string& className)
{
    return LoadSkinFile(SkinPath(name, className), {});
}

bool SkinView::LoadSequencerSkin(const std::string& editor)
{
    return LoadSkinFile(SequencerSkinPath(), editor);
}

bool SkinView::LoadSkinFile(const std::string& path, const std::string& editor)
{
    if (!FileExists(path))
        return false;
    CXMLArchive archive;
    if (!archive.Open(this, path, CXMLArchive::kLoad))
        return false;
    if (!editor.empty() && !(archive.Descend(editor) && archive.Descend("SeqEditorView")))
        return false;
    Configuration().SetSkinFolder(std::filesystem::path(path).parent_path().string());
    SerializeXML(archive);
    return true;
}

void SkinView::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        // <Keyword Name="title"><UIElementList>…</UIElementList></Keyword>
        if (archive.GetCurrentNode().IsNull())
            archive.CreateRoot(GetClassKeyword());
        else
            archive.CreateChild(GetClassKeyword());
        if (!title_.empty())
            archive.Write("Name", title_);
        StoreElementList(archive);
        return;
    }
    if (!archive.IsCurrent(GetClassKeyword()))
        Shell().MessageBox(FormatText(UIMessages::kSkinFileError, {archive.GetPath()}));
    std::string title;
    if (archive.Read("Name", title))
        SetTitle(title);
    LoadElementList(archive);
}

void SkinView::LoadElementList(CXMLArchive& archive)
{
    ClearElements();
    DomNodeList children;
    if (!archive.GetChildList("UIElementList", children))
        return;
    DomNode node;
    while (archive.NextNode(children, node)) {
        if (node.Type() != DomNodeType::Element)
            continue;
        CXMLArchive elementArchive(archive);
        elementArchive.SetCurrentNode(node);
        if (std::unique_ptr<UIElement> element = UIElementFactory::LoadElement(elementArchive, this))
            AddElement(element.release());
    }
}

void SkinView::StoreElementList(CXMLArchive& archive)
{
    if (!archive.CreateChild("UIElementList"))
        return;
    for (UIElement* element : elements_) {
        CXMLArchive elementArchive(archive);
        UIElementFactory::StoreElement(elementArchive, *element);
    }
}

void SkinView::ClearElements()
{
    std::vector<UIElement*> elements;
    elements.swap(elements_);
    for (UIElement* element : elements)
        delete element;
}

void SkinView::AddElement(UIElement* element)
{
    if (!element || std::find(elements_.begin(), elements_.end(), element) != elements_.end())
        return;
    if (element->parentWidget() != this)
        element->setParent(this);
    elements_.push_back(element);
}

void SkinView::Broadcast(WindowMessage message, WParam wParam, LParam lParam)
{
    PostWindowMessage(this, message, wParam, lParam);
    for (UIElement* element : elements_)
        PostWindowMessage(element, message, wParam, lParam);
}

bool SkinView::OnWindowMessage(WindowMessage, WParam, LParam)
{
    return false;
}

bool SkinView::event(QEvent* event)
{
    if (event->type() == WindowMessageEvent::EventType()) {
        const auto* message = static_cast<const WindowMessageEvent*>(event);
        return OnWindowMessage(message->Message(), message->WParamValue(), message->LParamValue());
    }
    return QWidget::event(event);
}

} // namespace jorvo
