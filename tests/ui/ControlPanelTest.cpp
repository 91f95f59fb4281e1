// A panel holding one of each control, read from a skin and bound to a real studio's targets:
// every keyword loads, the bindings reach the right parameters, and the screen is saved for a
// person to look at.
#include <fstream>
#include <functional>

#include <gtest/gtest.h>
#include <QPainter>
#include <QTreeWidget>

#include "document/XMLArchive.h"
#include "engine/Instrument.h"
#include "engine/InstrumentSampler.h"
#include "engine/Mixer.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "sequencer/ControllerNames.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "support/TestSupport.h"
#include "ui/ControlLook.h"
#include "ui/Fader.h"
#include "ui/Knob.h"
#include "ui/SampleBrowser.h"
#include "ui/SkinView.h"
#include "ui/UIElement.h"
#include "ui/UIElementFactory.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

std::string Element(const std::string& name, const std::string& keyword, QRect area, const std::string& extra = {},
                    const std::string& children = {})
{
    std::string xml = "<" + name + " Class=\"" + keyword + "\" Left=\"" + std::to_string(area.left()) + "\" Top=\"" +
                      std::to_string(area.top()) + "\" Width=\"" + std::to_string(area.width()) + "\" Height=\"" +
                      std::to_string(area.height()) + "\" " + extra;
    return children.empty() ? xml + "/>\n" : xml + ">" + children + "</" + name + ">\n";
}

std::string Caption(const std::string& name, const std::string& text, QRect area)
{
    return Element(name, "MsgLabel", area, "DisplayText=\"" + text + "\" TextClr=\"#A0A8B4\"");
}

std::string Bound(const std::string& target, const std::string& type)
{
    return "<Target Name=\"" + target + "\" Class=\"" + type + "\"/>";
}

std::string Event(std::uint16_t code)
{
    return "Event=\"" + ControllerName(code) + "\" ";
}

// The panel: knobs on the synth, fader, draw bar and button on its channel, the song settings,
// a message fader, the four factories, the sample labels and the two trees.
std::string PanelSkin()
{
    const std::string lead = Bound("Lead", "Instrument");
    const std::string channel = Bound("Lead", "Channel");
    std::string elements;
    elements += Element("Cutoff", "Knob", {24, 16, 48, 48}, Event(71), lead) + Caption("CutoffText", "Cutoff", {14, 66, 68, 16});
    elements += Element("Glide", "Knob2", {94, 16, 48, 48}, Event(33), lead) + Caption("GlideText", "Glide", {84, 66, 68, 16});
    elements += Element("Reso", "Knob3", {164, 16, 48, 48}, Event(74), lead) + Caption("ResoText", "Resonance", {154, 66, 68, 16});
    elements += Element("Unbound", "Knob", {24, 96, 48, 48}) + Caption("UnboundText", "Unbound", {14, 146, 68, 16});
    elements += Element("Level", "Fader", {250, 16, 32, 150}, Event(7), channel) + Caption("LevelText", "Level", {236, 168, 60, 16});
    elements += Element("Pan", "DrawBar", {300, 16, 32, 150}, Event(10) + "CaratHeight=\"12\"", channel) +
                Caption("PanText", "Pan", {286, 168, 60, 16});
    elements += Element("On", "Button", {356, 16, 100, 26}, Event(205),
                        channel + "<State Index=\"0\" Value=\"0\"/><State Index=\"1\" Value=\"1\"/>");
    elements += Element("Name", "MixerChannelLabel", {356, 50, 100, 24}, Event(7), channel);
    elements += Element("Sample", "AudioFileNameLabel", {356, 82, 100, 24}, "Index=\"0\"");
    elements += Element("Velocity", "MsgFader", {356, 118, 100, 24}, "Message=\"WM_SET_NOTE_VELOCITY\" MinValue=\"0\" MaxValue=\"127\"") +
                Caption("VelocityText", "Velocity", {356, 144, 100, 16});
    elements += Caption("TempoText", "Tempo", {24, 196, 160, 16}) + Element("Tempo", "TempoSelector", {24, 214, 160, 28});
    elements += Caption("BeatsText", "Beats", {200, 196, 60, 16}) + Element("Beats", "TimeSignatureSelector", {200, 214, 60, 28});
    elements += Caption("BarsText", "Bars", {276, 196, 60, 16}) + Element("Bars", "SongLengthSelector", {276, 214, 60, 28});
    elements += Element("Notes", "NoteFactory", {24, 264, 90, 44}) + Element("Patterns", "PatternFactory", {128, 264, 90, 44});
    elements += Element("Sections", "SectionFactory", {232, 264, 90, 44}) + Element("Zones", "SamplerZoneFactory", {336, 264, 90, 44});
    elements += Caption("FileText", "Zone sample", {24, 324, 100, 20}) + Element("ZoneFile", "SampleFileNameLabel", {128, 324, 200, 22});
    elements += Caption("ZoneText", "Zone name", {24, 352, 100, 20}) + Element("ZoneName", "SampleZoneNameLabel", {128, 352, 200, 22});
    elements += Caption("TreeText", "Song", {24, 390, 210, 16}) + Element("Tree", "MsgSeqTree", {24, 408, 210, 216});
    elements += Caption("BrowserText", "Samples", {246, 390, 210, 16}) +
                Element("Browser", "SampleBrowser", {246, 408, 210, 216}, "Message=\"WM_SEL_SAMPLE_FILENAME\"");
    return "<View Name=\"Controls\"><UIElementList>\n" + elements + "</UIElementList></View>\n";
}

template <class T>
T* Find(SkinView& view, const std::string& name)
{
    for (UIElement* element : view.Elements())
        if (element->GetName() == name)
            return dynamic_cast<T*>(element);
    return nullptr;
}

TEST(ControlPanelTest, OneOfEachControlBoundToAStudio)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    SequencerSettings::RestoreInitialValues();
    test::TempDir folder;
    SoundStudio studio;
    Instrument* lead = studio.AddInstrument("mSyn");
    auto* sampler = static_cast<InstrumentSampler*>(studio.AddInstrument("Sampler"));
    ASSERT_TRUE(lead && sampler);
    lead->SetName("Lead");
    Sequencer& sequencer = studio.GetSequencer();
    SeqEventSection* verse = sequencer.CreateSection("Verse");
    SeqEventPattern* bass = sequencer.CreatePattern("Bass");
    verse->SetLength(4 * 1920);
    verse->AddPlacement(bass, lead, 0);
    sequencer.GetSong()->SetLength(8 * 1920);
    SampleZone* zone = sampler->CreateZone(36);
    zone->SetZoneName("Kick");
    sampler->SetActiveZone(zone);
    std::filesystem::create_directory(folder / "Drums");
    test::WriteFileBytes(folder / "Drums" / "kick.wav", "x");
    test::WriteFileBytes(folder / "bass.wav", "x");

    const auto skin = folder / "Controls.skin";
    std::ofstream(skin) << PanelSkin();
    SkinView view;
    view.resize(480, 640);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, QColor(0x1E, 0x21, 0x26));
    view.setPalette(palette);
    view.setAutoFillBackground(true);
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(&view, skin.string(), CXMLArchive::kLoad));
    view.SerializeXML(archive);
    EXPECT_TRUE(shell.messages.empty()) << shell.LastMessage();

    // Every control of the panel loaded (all keywords have their element now).
    EXPECT_EQ(view.Elements().size(), 35u);
    for (const char* keyword : {"Button", "Fader", "DrawBar", "Knob", "Knob2", "Knob3", "MixerChannelLabel",
                                "AudioFileNameLabel", "SampleFileNameLabel", "SampleZoneNameLabel", "SampleBrowser",
                                "MsgFader", "MsgSeqTree", "TempoSelector", "TimeSignatureSelector",
                                "SongLengthSelector", "NoteFactory", "PatternFactory", "SectionFactory",
                                "SamplerZoneFactory"})
        EXPECT_NE(UIElementFactory::CreateElement(keyword, &view), nullptr) << keyword;

    auto* cutoff = Find<Knob>(view, "Cutoff");
    ASSERT_NE(cutoff, nullptr);
    EXPECT_EQ(cutoff->Target(), lead);
    ASSERT_NE(cutoff->Parameter(), nullptr);
    EXPECT_EQ(cutoff->Parameter()->Name(), "Frequency");
    auto* level = Find<Fader>(view, "Level");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->Target(), studio.GetMixer().ChannelOf(*lead));

    // Elements that are not parameter controls are bound the way their views bind them.
    for (const char* name : {"Sample", "ZoneFile", "ZoneName", "Zones"})
        Find<UIElement>(view, name)->SetTarget(sampler);
    sequencer.SendToTarget(lead, 71, 90, 0, 0, 0);
    sequencer.SendToTarget(studio.GetMixer().ChannelOf(*lead), 10, 32, 0, 0, 0);
    Find<SampleBrowser>(view, "Browser")->SetRootFolder(folder.path().string());
    view.show();
    for (UIElement* element : view.Elements())
        PostWindowMessage(element, RegisterWindowMessage("WM_SYNC"), 0, 0);
    QCoreApplication::sendPostedEvents();
    Find<UIElement>(view, "Browser")->template findChild<QTreeWidget*>()->expandAll();
    Find<UIElement>(view, "Tree")->template findChild<QTreeWidget*>()->expandAll();
    EXPECT_EQ(cutoff->ShownValue(), 90);
    const QString file = QString(JORVO_TEST_OUTPUT_DIR) + "/controls_panel.png";
    EXPECT_TRUE(view.grab().save(file));
}


// Draws `frames` side-by-side frames of `size` with `paint` (frame index, painter, frame rect)
// and saves them as `file`.
void SaveStrip(const std::filesystem::path& file, QSize size, int frames,
               const std::function<void(int, QPainter&, QRect)>& paint)
{
    QImage strip(size.width() * frames, size.height(), QImage::Format_RGB32);
    strip.fill(qRgb(0, 0, 255)); // the transparent key
    QPainter painter(&strip); // no antialiasing: edges blended with the key would show blue
    for (int frame = 0; frame < frames; ++frame)
        paint(frame, painter, QRect(QPoint(frame * size.width(), 0), size));
    painter.end();
    ASSERT_TRUE(strip.save(QString::fromStdString(file.string())));
}

TEST(ControlPanelTest, SkinImagesReplaceThePlainLook)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    SequencerSettings::RestoreInitialValues();
    test::TempDir folder;
    SoundStudio studio;
    Instrument* lead = studio.AddInstrument("mSyn");
    ASSERT_NE(lead, nullptr);
    lead->SetName("Lead");
    // Knob: frame 1 a steel disc, frame 0 a bezel ring whose inside is the transparent key.
    SaveStrip(folder / "knob.png", {48, 48}, 2, [](int frame, QPainter& painter, QRect area) {
        if (frame == 1) {
            painter.setBrush(QColor(0x70, 0x78, 0x84));
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(area.adjusted(6, 6, -6, -6));
        } else {
            // the panel around the knob is opaque and hides the sweep's corners
            painter.fillRect(area, QColor(0x24, 0x27, 0x2C));
            painter.setBrush(QColor(0, 0, 255));
            painter.setPen(QPen(QColor(0xD0, 0xD4, 0xDA), 4));
            painter.drawEllipse(area.adjusted(3, 3, -3, -3));
        }
    });
    SaveStrip(folder / "fader_bg.png", {32, 150}, 1, [](int, QPainter& painter, QRect area) {
        painter.fillRect(area, QColor(0x30, 0x30, 0x38));
        painter.fillRect(QRect(area.center().x() - 1, 8, 3, area.height() - 16), Qt::black);
    });
    SaveStrip(folder / "carat.png", {28, 14}, 1, [](int, QPainter& painter, QRect area) {
        painter.fillRect(area, QColor(0x20, 0xC0, 0x60));
    });
    SaveStrip(folder / "switch.png", {100, 26}, 2, [](int frame, QPainter& painter, QRect area) {
        painter.fillRect(area, frame ? QColor(0x30, 0x90, 0x40) : QColor(0x40, 0x40, 0x48));
        painter.setPen(Qt::white);
        painter.drawText(area, Qt::AlignCenter, frame ? "ON" : "OFF");
    });
    const std::string at = folder.path().string() + "/"; // the skin is read without a skin folder
    const std::string lead0 = Bound("Lead", "Instrument");
    const std::string channel = Bound("Lead", "Channel");
    std::string elements;
    elements += Element("Cutoff", "Knob", {20, 20, 48, 48}, Event(71) + "Image=\"" + at + "knob.png\" IndicatorClr=\"#FF8000\"", lead0);
    elements += Element("Glide", "Knob2", {80, 20, 48, 48}, Event(33) + "Image=\"" + at + "knob.png\"", lead0);
    elements += Element("Level", "Fader", {150, 20, 32, 150},
                        Event(7) + "BackgroundImage=\"" + at + "fader_bg.png\" CaratImage=\"" + at + "carat.png\"", channel);
    elements += Element("On", "Button", {200, 20, 100, 10}, Event(205) + "Image=\"" + at + "switch.png\"",
                        channel + "<State Index=\"0\" Value=\"0\"/><State Index=\"1\" Value=\"1\"/>");
    const auto skin = folder / "Skinned.skin";
    std::ofstream(skin) << "<View><UIElementList>" + elements + "</UIElementList></View>";
    SkinView view;
    view.resize(320, 200);
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(&view, skin.string(), CXMLArchive::kLoad));
    view.SerializeXML(archive);
    ASSERT_EQ(view.Elements().size(), 4u);
    EXPECT_TRUE(shell.messages.empty()) << shell.LastMessage();

    studio.GetSequencer().SendToTarget(studio.GetMixer().ChannelOf(*lead), 7, 127, 0, 0, 0);
    for (UIElement* element : view.Elements())
        PostWindowMessage(element, RegisterWindowMessage("WM_SYNC"), 0, 0);
    QCoreApplication::sendPostedEvents();
    auto* button = Find<UIElement>(view, "On");
    EXPECT_EQ(button->size(), QSize(100, 26)); // resized to one frame of its strip
    const QImage screen = view.grab().toImage();
    EXPECT_TRUE(view.grab().save(QString(JORVO_TEST_OUTPUT_DIR) + "/controls_skinned.png"));
    // Level 127: the carat image sits at the top of the fader; the button shows its "on" frame.
    EXPECT_EQ(QColor(screen.pixel(150 + 16, 20 + 7)), QColor(0x20, 0xC0, 0x60));
    EXPECT_EQ(QColor(screen.pixel(200 + 3, 20 + 3)), QColor(0x30, 0x90, 0x40));
    // The bezel's transparent key shows the disc and the view behind, never pure blue.
    for (int x = 20; x < 68; ++x)
        EXPECT_NE(QColor(screen.pixel(x, 44)), QColor(0, 0, 255)) << x;

    // Stored and read back, the panel keeps its images, colours and bindings.
    const auto stored = folder / "Stored.skin";
    {
        CXMLArchive out;
        ASSERT_TRUE(out.Open(&view, stored.string(), CXMLArchive::kStore));
        view.SerializeXML(out);
        ASSERT_TRUE(out.Save());
    }
    SkinView copy;
    CXMLArchive in;
    ASSERT_TRUE(in.Open(&copy, stored.string(), CXMLArchive::kLoad));
    copy.SerializeXML(in);
    ASSERT_EQ(copy.Elements().size(), 4u);
    auto* knob = Find<Knob>(copy, "Cutoff");
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->IndicatorColour(), Colour::FromRgb(0xFF, 0x80, 0x00));
    EXPECT_EQ(knob->Image().File(), at + "knob.png");
    EXPECT_EQ(knob->Target(), lead);
    EXPECT_EQ(Find<Fader>(copy, "Level")->Skin().Carat().File(), at + "carat.png");
    EXPECT_EQ(Find<UIElement>(copy, "On")->size(), QSize(100, 26));
}

} // namespace
} // namespace jorvo
