#include "app/frame/CTargetView.h"

#include <QMenu>

#include "app/frame/FrameTexts.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/PresetFile.h"
#include "engine/SoundStudio.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "ui/UIElement.h"

namespace jorvo {

namespace {

constexpr char kTargetElement[] = "Target";

} // namespace

CTargetView::CTargetView(QWidget* parent, std::string defaultTitle)
    : CSeqView(parent), defaultTitle_(std::move(defaultTitle))
{
    SetTitle(defaultTitle_);
}

bool CTargetView::SetTarget(SeqEventTarget* target)
{
    if (target == target_)
        return target_ != nullptr && !Elements().empty();
    ClearElements();
    target_ = target;
    if (!target_) {
        SetTitle(defaultTitle_);
        return false;
    }
    SetTitle(target_->GetName());
    if (!LoadSkin(target_->GetEngineName(), Category()))
        return false;
    // The skin may name a title of its own; the target's name is the one the user knows.
    SetTitle(target_->GetName());
    for (UIElement* element : Elements())
        element->SetTarget(target_);
    return true;
}

std::string CTargetView::EmptyViewHint() const
{
    if (!target_)
        return {};
    return FormatText(FrameTexts::kNoTargetSkin, {target_->GetEngineName()});
}

void CTargetView::Detach()
{
    for (UIElement* element : Elements())
        element->SetTarget(nullptr);
    target_ = nullptr;
}

void CTargetView::RefreshFromTarget()
{
    if (target_)
        SetTitle(target_->GetName());
    update();
}

void CTargetView::SerializeXML(CXMLArchive& archive)
{
    if (archive.IsLoading()) {
        DomNode targetNode;
        SoundStudio* studio = SoundStudio::Current();
        if (archive.IsCurrent(GetClassKeyword()) && archive.FindChild(kTargetElement, targetNode) && studio) {
            const std::string name = targetNode.GetAttribute("Name").value_or(std::string());
            const std::string type = targetNode.GetAttribute("Class").value_or(Category());
            if (SeqEventTarget* target = studio->FindTarget(type, name)) {
                SetTarget(target);
                return;
            }
        }
        CSeqView::SerializeXML(archive);
        return;
    }
    if (!target_) {
        CSeqView::SerializeXML(archive);
        return;
    }
    // <InstrumentView Name="Bass"><Target Name="Bass" Class="Instrument"/></InstrumentView>
    archive.CreateChild(GetClassKeyword());
    archive.Write("Name", GetTitle());
    CXMLArchive targetArchive(archive);
    targetArchive.CreateChild(kTargetElement);
    targetArchive.Write("Name", target_->GetName());
    targetArchive.Write("Class", target_->GetTypeName());
}

void CTargetView::FillContextMenu(QMenu& menu)
{
    if (!target_)
        return;
    menu.addAction(DeleteText(), this, [this] { DeleteTarget(); });
    menu.addAction(FrameTexts::kLoadPreset, this, [this] {
        if (target_)
            EditPresets(*target_, PresetDialogMode::Load);
    });
    menu.addAction(FrameTexts::kSavePreset, this, [this] {
        if (target_)
            EditPresets(*target_, PresetDialogMode::Save);
    });
    menu.addAction(FrameTexts::kRename, this, [this] { Rename(); });
}

void CTargetView::Rename()
{
    if (!target_)
        return;
    const std::optional<std::string> name = Shell().PromptName(FrameTexts::kRename, target_->GetName());
    if (!name || name->empty())
        return;
    target_->SetName(*name);
    SetTitle(target_->GetName());
}

// CInstrumentView -------------------------------------------------------------------------------

CInstrumentView::CInstrumentView(QWidget* parent) : CTargetView(parent, "InstrumentView") {}

const char* CInstrumentView::DeleteText() const
{
    return FrameTexts::kDeleteInstrument;
}

void CInstrumentView::DeleteTarget()
{
    if (SoundStudio* studio = SoundStudio::Current())
        studio->DeleteInstrument(dynamic_cast<Instrument*>(GetTarget()));
}

// CEffectView -----------------------------------------------------------------------------------

CEffectView::CEffectView(QWidget* parent) : CTargetView(parent, "EffectView") {}

const char* CEffectView::DeleteText() const
{
    return FrameTexts::kDeleteEffect;
}

void CEffectView::DeleteTarget()
{
    if (SoundStudio* studio = SoundStudio::Current())
        studio->DeleteEffect(dynamic_cast<Effect*>(GetTarget()));
}

} // namespace jorvo
