#include "ui/UIElementFactory.h"

#include <exception>

#include "document/XMLArchive.h"
#include "platform/ShellServices.h"
#include "ui/MsgButton.h"
#include "ui/MsgLabel.h"
#include "ui/PatternEditor.h"
#include "ui/SectionEditor.h"
#include "ui/SongEditor.h"
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
    {"Button", nullptr},
    {"Fader", nullptr},
    {"DrawBar", nullptr},
    {"Knob", nullptr},
    {"Knob2", nullptr},
    {"Knob3", nullptr},
    {"MixerChannelLabel", nullptr},
    {"AudioFileNameLabel", nullptr},
    {"SampleFileNameLabel", nullptr},
    {"SampleZoneNameLabel", nullptr},
    {"SampleBrowser", nullptr},
    {"MsgButton", &Make<MsgButton>},
    {"MsgFader", nullptr},
    {"MsgLabel", &Make<MsgLabel>},
    {"MsgSeqTree", nullptr},
    {"TransportButton", &Make<TransportButton>},
    {"TempoSelector", nullptr},
    {"TimeSignatureSelector", nullptr},
    {"SongLengthSelector", nullptr},
    {"NoteFactory", nullptr},
    {"PatternFactory", nullptr},
    {"SectionFactory", nullptr},
    {"SamplerZoneFactory", nullptr},
    {"PatternEditor", &Make<PatternEditor>},
    {"SectionEditor", &Make<SectionEditor>},
    {"SongEditor", &Make<SongEditor>},
    {"ParameterEditor", nullptr},
    {"PianoKeyboard", nullptr},
    {"SamplerZoneMap", nullptr},
    {"Scroller", nullptr},
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
