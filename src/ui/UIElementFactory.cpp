#include "ui/UIElementFactory.h"

#include <exception>

#include "document/XMLArchive.h"
#include "platform/ShellServices.h"
#include "ui/AudioFileNameLabel.h"
#include "ui/EventFactories.h"
#include "ui/Fader.h"
#include "ui/Knob.h"
#include "ui/MixerChannelLabel.h"
#include "ui/MsgButton.h"
#include "ui/MsgFader.h"
#include "ui/MsgLabel.h"
#include "ui/MsgSeqTree.h"
#include "ui/ParamButton.h"
#include "ui/ParameterEditor.h"
#include "ui/PatternEditor.h"
#include "ui/PianoKeyboard.h"
#include "ui/SampleBrowser.h"
#include "ui/SamplerZoneFactory.h"
#include "ui/SamplerZoneLabels.h"
#include "ui/SamplerZoneMap.h"
#include "ui/Scroller.h"
#include "ui/SectionEditor.h"
#include "ui/SongEditor.h"
#include "ui/SongSelectors.h"
#include "ui/TransportButton.h"
#include "ui/UIImage.h"

namespace jorvo {
namespace {

using ElementMaker = std::unique_ptr<UIElement> (*)(QWidget* parent);

template <class Element>
std::unique_ptr<UIElement> Make(QWidget* parent)
{
    return std::make_unique<Element>(parent);
}

struct ElementClass {
    const char* keyword;
    ElementMaker make; // null while the element is not built
};

// Every keyword a skin may name; a later control fills in its maker.
constexpr ElementClass kElementClasses[] = {
    {"Image", &Make<UIImage>},
    {"Button", &Make<ParamButton>},
    {"Fader", &Make<Fader>},
    {"DrawBar", &Make<DrawBar>},
    {"Knob", &Make<Knob>},
    {"Knob2", &Make<Knob2>},
    {"Knob3", &Make<Knob3>},
    {"MixerChannelLabel", &Make<MixerChannelLabel>},
    {"AudioFileNameLabel", &Make<AudioFileNameLabel>},
    {"SampleFileNameLabel", &Make<SampleFileNameLabel>},
    {"SampleZoneNameLabel", &Make<SampleZoneNameLabel>},
    {"SampleBrowser", &Make<SampleBrowser>},
    {"MsgButton", &Make<MsgButton>},
    {"MsgFader", &Make<MsgFader>},
    {"MsgLabel", &Make<MsgLabel>},
    {"MsgSeqTree", &Make<MsgSeqTree>},
    {"TransportButton", &Make<TransportButton>},
    {"TempoSelector", &Make<TempoSelector>},
    {"TimeSignatureSelector", &Make<TimeSignatureSelector>},
    {"SongLengthSelector", &Make<SongLengthSelector>},
    {"NoteFactory", &Make<NoteFactory>},
    {"PatternFactory", &Make<PatternFactory>},
    {"SectionFactory", &Make<SectionFactory>},
    {"SamplerZoneFactory", &Make<SamplerZoneFactory>},
    {"PatternEditor", &Make<PatternEditor>},
    {"SectionEditor", &Make<SectionEditor>},
    {"SongEditor", &Make<SongEditor>},
    {"ParameterEditor", &Make<ParameterEditor>},
    {"PianoKeyboard", &Make<PianoKeyboard>},
    {"SamplerZoneMap", &Make<SamplerZoneMap>},
    {"Scroller", &Make<Scroller>},
};

const ElementClass* FindClass(const std::string& keyword)
{
    for (const ElementClass& entry : kElementClasses)
        if (keyword == entry.keyword)
            return &entry;
    return nullptr;
}

} // namespace

std::unique_ptr<UIElement> UIElementFactory::CreateElement(const std::string& keyword, QWidget* parent)
{
    const ElementClass* entry = FindClass(keyword);
    return entry && entry->make ? entry->make(parent) : nullptr;
}

bool UIElementFactory::IsKnownKeyword(const std::string& keyword)
{
    return FindClass(keyword) != nullptr;
}

std::unique_ptr<UIElement> UIElementFactory::LoadElement(CXMLArchive& archive, QWidget* parent)
{
    std::unique_ptr<UIElement> element;
    try {
        std::string keyword;
        archive.Read("Class", keyword);
        element = CreateElement(keyword, parent);
        if (element)
            element->SerializeXML(archive);
    } catch (const std::exception& error) {
        Shell().MessageBox(error.what());
        return nullptr;
    }
    return element;
}

void UIElementFactory::StoreElement(CXMLArchive& archive, UIElement& element)
{
    element.SerializeXML(archive);
}

} // namespace jorvo
