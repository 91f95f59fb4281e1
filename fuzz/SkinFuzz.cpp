// Skin files as the XML archive and the DOM hand them to a skinned view: the view's root and
// attributes, each editor's section of the sequencer skin, the mixer's strip templates, and every
// element of each "UIElementList" with its attributes (read in each type the elements use) and
// its "Target". The widgets themselves need Qt and are left out; what a damaged file can reach
// is the reading below them.
#include "FuzzSupport.h"

#include <cstdint>
#include <string>

#include "document/DomNode.h"
#include "document/XMLArchive.h"

namespace {

using jorvo::CXMLArchive;
using jorvo::DomNode;
using jorvo::DomNodeList;

constexpr const char* kAttributes[] = {"Class", "Name",  "Left",  "Top",    "Width", "Height", "Event",
                                       "Image", "Value", "Min",   "Max",    "Param", "Colour", "Color",
                                       "Text",  "Font",  "Style", "Target", "Step",  "Frames", "Orientation",
                                       "BackgroundImage", "BackgroundColour", "CaratImage"};

// Reads every known attribute of the archive's current element in every type a reader may ask for.
void ReadAttributes(const CXMLArchive& archive)
{
    for (const char* name : kAttributes) {
        bool flag = false;
        std::int8_t small = 0;
        int number = 0;
        long wide = 0;
        std::uint8_t byte = 0;
        std::uint16_t word = 0;
        std::uint32_t dword = 0;
        std::string text;
        jorvo::Colour colour;
        archive.Read(name, flag);
        archive.Read(name, small);
        archive.Read(name, number);
        archive.Read(name, wide);
        archive.Read(name, byte);
        archive.Read(name, word);
        archive.Read(name, dword);
        archive.Read(name, text);
        archive.Read(name, colour);
    }
}

// The element list below the archive's current node, nested lists included.
void ReadElementList(const CXMLArchive& archive, int depth)
{
    DomNodeList children;
    if (depth > 8 || !archive.GetChildList("UIElementList", children))
        return;
    DomNode node;
    while (archive.NextNode(children, node)) {
        if (node.Type() != jorvo::DomNodeType::Element)
            continue;
        CXMLArchive element(archive);
        element.SetCurrentNode(node);
        std::string name;
        element.GetCurrentName(name);
        ReadAttributes(element);
        CXMLArchive target(element);
        if (target.Descend("Target"))
            ReadAttributes(target);
        ReadElementList(element, depth + 1);
    }
}

// The element groups below `group` of the archive's current node (the mixer's strip templates).
void ReadGroup(const CXMLArchive& archive, const char* group)
{
    CXMLArchive strip(archive);
    if (!strip.Descend(group))
        return;
    ReadElementList(strip, 0);
    CXMLArchive send(strip);
    if (send.Descend("Send"))
        ReadElementList(send, 0);
}

// A view as the skinned view reads it: its own attributes, then elements and strip templates.
void ReadView(CXMLArchive& archive)
{
    std::string root;
    archive.GetRootName(root);
    archive.IsCurrent(root);
    ReadAttributes(archive);
    ReadElementList(archive, 0);
    ReadGroup(archive, "ChannelStrip");
    ReadGroup(archive, "MasterStrip");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    jorvo::fuzz::Prepare();
    const std::string path = jorvo::fuzz::WriteScratchFile("Fuzzed.skin", data, size);
    {
        CXMLArchive archive;
        if (archive.Open(nullptr, path, CXMLArchive::kLoad))
            ReadView(archive);
    }
    // The sequencer skin holds one section per editor.
    for (const char* editor : {"SongEditor", "SectionEditor", "PatternEditor", "ParameterEditor"}) {
        CXMLArchive archive;
        if (archive.Open(nullptr, path, CXMLArchive::kLoad) && archive.Descend(editor) &&
            archive.Descend("SeqEditorView"))
            ReadView(archive);
    }
    return 0;
}
