#include "ui/AudioFileNameLabel.h"

#include <filesystem>

#include <QPainter>

#include "audio/SampleStore.h"
#include "document/XMLArchive.h"
#include "engine/SeqEventTarget.h"
#include "engine/SoundStudio.h"
#include "sequencer/Sequencer.h"
#include "ui/ControlLook.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {

AudioFileNameLabel::AudioFileNameLabel(QWidget* parent) : MsgLabel(parent) {}

void AudioFileNameLabel::SerializeXML(CXMLArchive& archive)
{
    MsgLabel::SerializeXML(archive);
    // Index="0" VariableIndex="False"
    if (!archive.IsLoading()) {
        archive.Write("Index", slot_);
        archive.Write("VariableIndex", variableIndex_);
        return;
    }
    std::string background;
    hasBackground_ = archive.Read("BackgroundImage", background) && !background.empty();
    const bool hasIndex = archive.Read("Index", slot_);
    variableIndex_ = !hasIndex;
    archive.Read("VariableIndex", variableIndex_);
    variableIndex_ = variableIndex_ || !hasIndex;
}

void AudioFileNameLabel::SetTarget(SeqEventTarget* target)
{
    target_ = target;
    update();
}

void AudioFileNameLabel::SetSlot(int slot, bool variable)
{
    slot_ = slot;
    variableIndex_ = variable;
    update();
}

std::string AudioFileNameLabel::SampleName() const
{
    SoundStudio* studio = SoundStudio::Current();
    if (!target_ || !studio)
        return {};
    const std::string name = studio->GetSampleStore().GetSampleName(target_->GetSampleSlot(slot_));
    return std::filesystem::path(name).filename().string();
}

bool AudioFileNameLabel::TakeSample(const std::string& path)
{
    SoundStudio* studio = SoundStudio::Current();
    if (!target_ || !studio || slot_ < 0)
        return false;
    std::string name = path;
    const int index = studio->GetSampleStore().LoadSample(name); // file I/O: outside the lock
    if (index < 0)
        return false;
    {
        Sequencer::EditLock lock(studio->GetSequencer());
        target_->SetSampleSlot(slot_, index);
    }
    target_->RefreshView();
    update();
    return true;
}

void AudioFileNameLabel::Draw(QPainter& painter)
{
    const std::string name = SampleName();
    if (name != DisplayText())
        SetDisplayText(name);
    if (hasBackground_) {
        MsgLabel::Draw(painter);
        return;
    }
    // Without artwork: the dark face, the text in the skin's colour unless that is the default black.
    ControlLook::DrawFace(painter, rect());
    painter.setFont(ControlLook::Font(12));
    const Colour colour = TextColour();
    ControlLook::DrawCentredText(painter, rect(), QString::fromStdString(name),
                                 colour == Colour{} ? ControlLook::Text()
                                                    : QColor(colour.Red(), colour.Green(), colour.Blue()));
}

void AudioFileNameLabel::PenDoubleTap(const QPoint&)
{
    SoundStudio* studio = SoundStudio::Current();
    if (target_ && studio)
        studio->GetSampleStore().ShowBrowser(this, target_->GetSampleSlot(slot_));
}

bool AudioFileNameLabel::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    static const WindowMessage chosen = RegisterWindowMessage(UIWindowMessages::kTreeDlgSelPath);
    static const WindowMessage activeIndex = RegisterWindowMessage(UIWindowMessages::kSetActiveAudioFileIndex);
    if (message == chosen) {
        if (const char* path = reinterpret_cast<const char*>(wParam))
            TakeSample(path);
        return true;
    }
    if (message == activeIndex) {
        if (variableIndex_)
            SetSlot(static_cast<int>(wParam), true);
        return true;
    }
    return MsgLabel::OnWindowMessage(message, wParam, lParam);
}

} // namespace jorvo
