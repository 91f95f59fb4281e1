// The skins shipped with the program: each one parses, names only element classes the factory
// knows, names only images that exist (found the way the program searches for them) and whose
// frames fit their elements, keeps every element inside the 480 x 640 view, and binds a control
// to every parameter of its engine. Each is also loaded through the real SkinView and element
// factory, and a picture of it is saved for a person to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <QPainter>
#include <filesystem>
#include <map>
#include <set>

#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/EffectChorus.h"
#include "engine/EffectDelay.h"
#include "engine/EffectDistortion.h"
#include "engine/EffectFlanger.h"
#include "engine/EffectReverb.h"
#include "engine/EffectReverbLite.h"
#include "engine/InstrumentDefault.h"
#include "engine/InstrumentMonoSynth.h"
#include "engine/InstrumentSampler.h"
#include "engine/Mixer.h"
#include "engine/MixerChannel.h"
#include "platform/RecordingShell.h"
#include "sequencer/ControllerNames.h"
#include "support/TestSupport.h"
#include "ui/SkinImage.h"
#include "ui/SkinView.h"
#include "ui/UIElement.h"
#include "ui/UIElementFactory.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = JORVO_SOURCE_DIR;
const fs::path kSkins = kSource / "skins";
constexpr int kViewWidth = 480;
constexpr int kViewHeight = 640;

// One shipped view skin: its file, the view keyword it must have, the sequencer editor child
// holding it (empty for a named view) and the folder a plug-in's skin ships in.
struct ShippedSkin {
    std::string label;
    fs::path file;
    std::string keyword;
    std::string editor;
};

std::vector<ShippedSkin> AllSkins()
{
    std::vector<ShippedSkin> skins = {
        {"Jorvo", kSkins / "Jorvo" / "Jorvo.skin", "JorvoView", ""},
        {"Mixer", kSkins / "Mixer" / "Mixer.skin", "MixerView", ""},
        {"FMVoice", kSource / "plugins" / "FMVoice.skin", "InstrumentView", ""},
        {"Tremolo", kSource / "plugins" / "Tremolo.skin", "EffectView", ""},
    };
    for (const char* editor : {"SongEditor", "SectionEditor", "PatternEditor", "ParameterEditor"})
        skins.push_back({editor, kSkins / "Sequencer" / "Sequencer.skin", "SeqEditorView", editor});
    for (const char* engine : {"mSyn", "Sampler", "DefaultInstrument"})
        skins.push_back({engine, kSkins / engine / (std::string(engine) + ".skin"), "InstrumentView", ""});
    for (const char* engine : {"Chorus", "Delay", "Distortion", "Flanger", "Reverb", "Reverb Lite"})
        skins.push_back({engine, kSkins / engine / (std::string(engine) + ".skin"), "EffectView", ""});
    return skins;
}

// An element description read from a skin file.
struct ElementRecord {
    std::string name;
    std::string keyword;
    QRect rect;
    std::map<std::string, std::string> attributes;
    int states = 0;
    std::string group;
};

// Every attribute of `node` that a skin may hold.
std::map<std::string, std::string> Attributes(const CXMLArchive& archive)
{
    static const char* const names[] = {"Image", "BackgroundImage", "CaratImage", "IncrementButtonImage",
                                        "DecrementButtonImage", "Event", "Message", "Class", "Name"};
    std::map<std::string, std::string> found;
    for (const char* name : names) {
        std::string value;
        if (archive.Read(name, value))
            found[name] = value;
    }
    return found;
}

// The elements of the UIElementList below the archive's current node (and of nested element
// descriptions such as an editor's popup).
void ReadElementList(CXMLArchive archive, const std::string& group, std::vector<ElementRecord>& out)
{
    DomNodeList children;
    if (!archive.GetChildList("UIElementList", children))
        return;
    DomNode node;
    while (archive.NextNode(children, node)) {
        CXMLArchive element(archive);
        element.SetCurrentNode(node);
        ElementRecord record;
        element.GetCurrentName(record.name);
        if (record.name.empty() || record.name == "#text" || record.name == "#comment")
            continue;
        record.attributes = Attributes(element);
        record.keyword = record.attributes["Class"];
        int left = -1, top = -1, width = 0, height = 0;
        element.Read("Left", left);
        element.Read("Top", top);
        element.Read("Width", width);
        element.Read("Height", height);
        record.rect = QRect(left, top, width, height);
        DomNodeList states;
        element.SelectChildren("State", states);
        DomNode state;
        while (element.NextNode(states, state))
            ++record.states;
        record.group = group;
        out.push_back(record);
    }
}

// The view description of `skin`, positioned in an open archive.
bool OpenView(const ShippedSkin& skin, CXMLArchive& archive)
{
    if (!archive.Open(nullptr, skin.file.string(), CXMLArchive::kLoad))
        return false;
    return skin.editor.empty() || (archive.Descend(skin.editor) && archive.Descend("SeqEditorView"));
}

std::vector<ElementRecord> ReadElements(const ShippedSkin& skin)
{
    CXMLArchive archive;
    EXPECT_TRUE(OpenView(skin, archive)) << skin.file;
    std::vector<ElementRecord> elements;
    ReadElementList(archive, "", elements);
    for (const std::string group : {"ChannelStrip", "MasterStrip"}) {
        CXMLArchive strip(archive);
        if (!strip.Descend(group))
            continue;
        ReadElementList(strip, group, elements);
        if (strip.Descend("Send"))
            ReadElementList(strip, "Send", elements);
    }
    return elements;
}

// Where the program finds an image a skin names: beside the skin, then in the skins folder.
fs::path FindImage(const ShippedSkin& skin, const std::string& name)
{
    for (const fs::path& folder : {skin.file.parent_path(), kSkins})
        if (fs::exists(folder / name))
            return folder / name;
    return {};
}

const ShippedSkin& SkinOf(const std::string& label)
{
    static const std::vector<ShippedSkin> skins = AllSkins();
    for (const ShippedSkin& skin : skins)
        if (skin.label == label)
            return skin;
    throw std::logic_error("no skin " + label);
}

bool IsMultiState(const std::string& keyword)
{
    static const std::set<std::string> keywords = {"Button", "MsgButton", "TransportButton", "NoteFactory",
                                                   "PatternFactory", "SectionFactory", "SamplerZoneFactory"};
    return keywords.count(keyword) != 0;
}

bool IsParameterControl(const std::string& keyword)
{
    static const std::set<std::string> keywords = {"Button", "Fader", "DrawBar", "Knob", "Knob2", "Knob3", "Scroller"};
    return keywords.count(keyword) != 0;
}

TEST(ShippedSkins, EveryViewParsesAndNamesKnownClassesAndExistingImagesThatFitTheView)
{
    // Names are numbered in registration order: a message the program does not know gets a
    // number after every name it registers at start.
    UIWindowMessages::RegisterAll();
    const WindowMessage firstUnknown = RegisterWindowMessage("WM_NAMED_BY_NO_PART_OF_THE_PROGRAM");
    for (const ShippedSkin& skin : AllSkins()) {
        SCOPED_TRACE(skin.label);
        CXMLArchive archive;
        ASSERT_TRUE(OpenView(skin, archive));
        EXPECT_TRUE(archive.IsCurrent(skin.keyword));
        // The help topic follows the view's title: an editor's title names what it edits.
        if (!skin.editor.empty()) {
            std::string title;
            ASSERT_TRUE(archive.Read("Name", title));
            EXPECT_NE(title.find(skin.editor.substr(0, skin.editor.size() - std::string("Editor").size())),
                      std::string::npos)
                << title;
        }
        std::string background;
        ASSERT_TRUE(archive.Read("BackgroundImage", background));
        const QImage backgroundImage(QString::fromStdString(FindImage(skin, background).string()));
        EXPECT_EQ(backgroundImage.size(), QSize(kViewWidth, kViewHeight)) << background;

        const std::vector<ElementRecord> elements = ReadElements(skin);
        ASSERT_FALSE(elements.empty());
        std::set<std::string> names;
        for (const ElementRecord& element : elements) {
            SCOPED_TRACE(element.name);
            EXPECT_TRUE(names.insert(element.name).second) << "element name used twice";
            EXPECT_TRUE(UIElementFactory::IsKnownKeyword(element.keyword)) << element.keyword;
            EXPECT_FALSE(element.rect.isEmpty());
            EXPECT_TRUE(QRect(0, 0, kViewWidth, kViewHeight).contains(element.rect)) << element.rect.x() << ","
                                                                                      << element.rect.y();
            for (const char* attribute : {"Image", "BackgroundImage", "CaratImage"}) {
                const auto named = element.attributes.find(attribute);
                if (named == element.attributes.end())
                    continue;
                const fs::path file = FindImage(skin, named->second);
                ASSERT_FALSE(file.empty()) << named->second << " not found";
                const QImage image(QString::fromStdString(file.string()));
                ASSERT_FALSE(image.isNull()) << file;
                if (std::string(attribute) == "BackgroundImage") {
                    EXPECT_EQ(image.size(), element.rect.size()) << file;
                }
                if (std::string(attribute) != "Image")
                    continue;
                // A strip of frames: one frame per state, or a knob's face and track.
                const int frames = IsMultiState(element.keyword) ? element.states : 2;
                if (IsMultiState(element.keyword) || element.keyword.starts_with("Knob")) {
                    ASSERT_GT(frames, 0);
                    EXPECT_EQ(image.width() % frames, 0) << file;
                    EXPECT_EQ(QSize(image.width() / frames, image.height()), element.rect.size()) << file;
                }
            }
            if (element.keyword == "TransportButton") {
                static const std::set<std::string> commands = {"ID_PLAY", "ID_STOP", "ID_REWIND", "ID_FFORWARD"};
                EXPECT_EQ(commands.count(element.attributes.at("Message")), 1u);
            } else if (element.attributes.count("Message")) {
                EXPECT_LT(RegisterWindowMessage(element.attributes.at("Message")), firstUnknown)
                    << element.attributes.at("Message");
            }
        }
    }
}

TEST(ShippedSkins, NoTwoControlsOfAViewOverlap)
{
    for (const ShippedSkin& skin : AllSkins()) {
        SCOPED_TRACE(skin.label);
        const std::vector<ElementRecord> elements = ReadElements(skin);
        for (std::size_t a = 0; a < elements.size(); ++a)
            for (std::size_t b = a + 1; b < elements.size(); ++b) {
                // A picture may lie under the controls it decorates.
                if (elements[a].keyword == "Image" || elements[b].keyword == "Image")
                    continue;
                EXPECT_FALSE(elements[a].rect.intersects(elements[b].rect))
                    << elements[a].name << " overlaps " << elements[b].name;
            }
    }
}

// The union of the rectangles of `group`'s elements.
QRect GroupRect(const std::vector<ElementRecord>& elements, const std::string& group)
{
    QRect united;
    for (const ElementRecord& element : elements)
        if (element.group == group)
            united |= element.rect;
    return united;
}

TEST(ShippedSkins, MixerStripsTileBesideTheMasterWithRoomForSendRows)
{
    constexpr int margin = 5;
    const std::vector<ElementRecord> elements = ReadElements(SkinOf("Mixer"));
    const QRect send = GroupRect(elements, "Send");
    const QRect strip = GroupRect(elements, "ChannelStrip") | send;
    const QRect master = GroupRect(elements, "MasterStrip");
    // Strips are copied side by side from the left margin; the master keeps the right margin.
    EXPECT_EQ(strip.left(), margin);
    EXPECT_EQ(master.right(), kViewWidth - 1 - margin);
    const int masterLeft = kViewWidth - margin - master.width();
    EXPECT_EQ(masterLeft, master.left());
    EXPECT_GE((masterLeft - margin) / strip.width(), 5);
    EXPECT_LE(margin + 5 * strip.width(), masterLeft);
    // Send rows stack below the strip: at least three whole rows fit in the view.
    EXPECT_GE((kViewHeight - send.top()) / send.height(), 3);
    EXPECT_EQ(send.left(), strip.left());
    EXPECT_EQ(send.width(), strip.width());
}

// The parameter numbers the controls of `elements` in `group` bind to.
std::set<std::uint16_t> BoundCodes(const std::vector<ElementRecord>& elements, const std::string& group)
{
    std::set<std::uint16_t> codes;
    for (const ElementRecord& element : elements)
        if (element.group == group && IsParameterControl(element.keyword) && element.attributes.count("Event"))
            codes.insert(ControllerCode(element.attributes.at("Event")));
    return codes;
}

std::set<std::uint16_t> ParameterCodes(const SeqEventTarget& target)
{
    std::set<std::uint16_t> codes;
    for (const auto& [number, parameter] : target.Parameters())
        codes.insert(number);
    return codes;
}

TEST(ShippedSkins, EveryParameterOfEveryBuiltInEngineHasAControlAndNoControlNamesAMissingOne)
{
    const InstrumentMonoSynth synth;
    const InstrumentDefault plain;
    const EffectChorus chorus;
    const EffectDelay delay;
    const EffectDistortion distortion;
    const EffectFlanger flanger;
    const EffectReverb reverb;
    const EffectReverbLite reverbLite;
    for (const SeqEventTarget* engine : std::initializer_list<const SeqEventTarget*>{
             &synth, &plain, &chorus, &delay, &distortion, &flanger, &reverb, &reverbLite}) {
        SCOPED_TRACE(engine->GetEngineName());
        EXPECT_EQ(BoundCodes(ReadElements(SkinOf(engine->GetEngineName())), ""), ParameterCodes(*engine));
    }

    // The sampler's controls follow the active zone: they name the zone parameters of key 0.
    InstrumentSampler sampler;
    ASSERT_NE(sampler.CreateZone(0), nullptr);
    EXPECT_EQ(BoundCodes(ReadElements(SkinOf("Sampler")), ""), ParameterCodes(sampler));
}

TEST(ShippedSkins, MixerStripsBindLevelPanAndSwitchOfChannelsAndTheMaster)
{
    const std::vector<ElementRecord> elements = ReadElements(SkinOf("Mixer"));
    Mixer mixer;
    EXPECT_EQ(BoundCodes(elements, "MasterStrip"), ParameterCodes(mixer));
    MixerChannel channel;
    EXPECT_EQ(BoundCodes(elements, "ChannelStrip"), ParameterCodes(channel));
    // A send row's control takes its send's code when the view binds it.
    std::size_t sendControls = 0;
    for (const ElementRecord& element : elements)
        if (element.group == "Send" && IsParameterControl(element.keyword)) {
            EXPECT_EQ(element.attributes.count("Event"), 0u);
            ++sendControls;
        }
    EXPECT_EQ(sendControls, 1u);
}

// A skinned view for the pictures: the base view plus its background image and, for the mixer,
// one copy of each strip template where the skin puts it.
class PictureView : public SkinView {
public:
    explicit PictureView(std::string keyword) : keyword_(std::move(keyword)) { resize(kViewWidth, kViewHeight); }

    std::string GetClassKeyword() const override { return keyword_; }

    void SerializeXML(CXMLArchive& archive) override
    {
        SkinView::SerializeXML(archive);
        background_.SerializeXML(archive);
        background_.Load();
        for (const std::string group : {"ChannelStrip", "MasterStrip"}) {
            CXMLArchive strip(archive);
            if (!strip.Descend(group))
                continue;
            LoadGroup(strip);
            if (strip.Descend("Send"))
                LoadGroup(strip);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        background_.Draw(painter);
    }

private:
    void LoadGroup(const CXMLArchive& group)
    {
        DomNodeList children;
        if (!group.GetChildList("UIElementList", children))
            return;
        DomNode node;
        while (group.NextNode(children, node)) {
            CXMLArchive element(group);
            element.SetCurrentNode(node);
            if (std::unique_ptr<UIElement> made = UIElementFactory::LoadElement(element, this))
                AddElement(made.release());
        }
    }

    std::string keyword_;
    SkinImage background_{"BackgroundImage"};
};

// Installs a plug-in's skin the way it ships (beside its library, with its images) in a skins
// folder whose shared images are the repository's.
void InstallPluginSkin(const fs::path& skins, const std::string& name)
{
    fs::create_directories(skins / name);
    for (const fs::directory_entry& entry : fs::directory_iterator(kSource / "plugins"))
        if (entry.path().filename().string().starts_with(name) && entry.path().extension() != ".c")
            fs::copy_file(entry.path(), skins / name / entry.path().filename());
    if (!fs::exists(skins / "Common"))
        fs::create_directory_symlink(kSkins / "Common", skins / "Common");
}

// The built-in engine a panel shows, to bind its controls to as the instrument and effect views
// do; null for views without one.
std::unique_ptr<SeqEventTarget> EngineOf(const std::string& label)
{
    if (label == "mSyn")
        return std::make_unique<InstrumentMonoSynth>();
    if (label == "Sampler") {
        auto sampler = std::make_unique<InstrumentSampler>();
        sampler->CreateZone(0);
        return sampler;
    }
    if (label == "Chorus")
        return std::make_unique<EffectChorus>();
    if (label == "Delay")
        return std::make_unique<EffectDelay>();
    if (label == "Distortion")
        return std::make_unique<EffectDistortion>();
    if (label == "Flanger")
        return std::make_unique<EffectFlanger>();
    if (label == "Reverb")
        return std::make_unique<EffectReverb>();
    if (label == "Reverb Lite")
        return std::make_unique<EffectReverbLite>();
    return nullptr;
}

TEST(ShippedSkins, EveryViewLoadsThroughTheElementFactoryWithoutAMessage)
{
    test::TempDir pluginSkins;
    InstallPluginSkin(pluginSkins.path(), "FMVoice");
    InstallPluginSkin(pluginSkins.path(), "Tremolo");
    for (const ShippedSkin& skin : AllSkins()) {
        SCOPED_TRACE(skin.label);
        RecordingShell shell;
        ScopedShell scoped(shell);
        const bool plugin = skin.file.parent_path() == kSource / "plugins";
        Configuration().SetSkinsDir((plugin ? pluginSkins.path() : kSkins).string());
        PictureView view(skin.keyword);
        const std::string name = skin.file.stem().string();
        ASSERT_TRUE(skin.editor.empty() ? view.LoadSkin(name, "View") : view.LoadSequencerSkin(skin.editor));
        EXPECT_TRUE(shell.messages.empty()) << shell.messages.front();

        // Every element whose class is built today is there; the others are skipped.
        QWidget scratch;
        std::size_t built = 0;
        for (const ElementRecord& element : ReadElements(skin))
            built += UIElementFactory::CreateElement(element.keyword, &scratch) != nullptr;
        EXPECT_EQ(view.Elements().size(), built);
        for (const UIElement* element : view.Elements())
            EXPECT_TRUE(QRect(0, 0, kViewWidth, kViewHeight).contains(element->geometry())) << element->GetName();
        const std::unique_ptr<SeqEventTarget> engine = EngineOf(skin.label);
        for (UIElement* element : view.Elements())
            element->SetTarget(engine.get());

        std::string picture = skin.label;
        std::replace(picture.begin(), picture.end(), ' ', '_');
        view.grab().save(QString::fromStdString(std::string(JORVO_TEST_OUTPUT_DIR) + "/ShippedSkin-" + picture + ".png"));
    }
}

} // namespace
} // namespace jorvo
