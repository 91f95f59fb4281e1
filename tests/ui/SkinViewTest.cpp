// View skins: loading an element list (unknown classes skipped, the rest still loads), storing
// and reloading it, and a picture of a small skin for a person to look at.
#include <gtest/gtest.h>

#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"
#include "ui/MsgButton.h"
#include "ui/MsgLabel.h"
#include "ui/SkinView.h"
#include "ui/UIElementFactory.h"
#include "ui/UiTestSupport.h"

namespace jorvo {
namespace {

constexpr QRgb kGreen = 0xFF00C000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kYellow = 0xFFFFFF00;

// A skins folder holding skin `name` with `elements` inside its UIElementList.
class SkinFolder {
public:
    SkinFolder() { Configuration().SetSkinsDir(dir_.path().string()); }

    void Write(const std::string& name, const std::string& elements, const std::string& root = "View")
    {
        std::filesystem::create_directories(dir_ / name);
        test::WriteFileBytes(dir_ / name / (name + ".skin"), "<" + root + " Name=\"Test\"><UIElementList>" +
                                                                 elements + "</UIElementList></" + root + ">");
    }
    // The folder of skin `name`, created when missing.
    std::filesystem::path Folder(const std::string& name) const
    {
        std::filesystem::create_directories(dir_ / name);
        return dir_ / name;
    }

private:
    test::TempDir dir_;
};

TEST(SkinViewLoading, UnknownClassesAreSkippedAndTheNextElementLoads)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    SkinFolder skins;
    skins.Write("Test", "<Odd Class=\"NoSuchThing\" Left=\"0\" Top=\"0\" Width=\"5\" Height=\"5\"/>"
                        "<Later Class=\"PatternEditor\" Left=\"0\" Top=\"0\" Width=\"5\" Height=\"5\"/>"
                        "<Title Class=\"MsgLabel\" Left=\"3\" Top=\"4\" Width=\"50\" Height=\"20\" "
                        "DisplayText=\"Hello\" Message=\"WM_VIEW_MIXER\"/>");
    SkinView view;
    ASSERT_TRUE(view.LoadSkin("Test", "View"));

    ASSERT_EQ(view.Elements().size(), 2u);
    EXPECT_EQ(view.Elements()[0]->GetClassName(), "PatternEditor");
    EXPECT_EQ(view.Elements()[0]->GetName(), "Later");
    auto* label = dynamic_cast<MsgLabel*>(view.Elements()[1]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetName(), "Title");
    EXPECT_EQ(label->geometry(), QRect(3, 4, 50, 20));
    EXPECT_EQ(label->DisplayText(), "Hello");
    EXPECT_EQ(label->MessageNumber(), RegisterWindowMessage("WM_VIEW_MIXER"));
    EXPECT_EQ(view.GetTitle(), "Test");
    EXPECT_EQ(Configuration().GetSkinFolder(), skins.Folder("Test").string());
    EXPECT_TRUE(UIElementFactory::IsKnownKeyword("PatternEditor"));
    EXPECT_FALSE(UIElementFactory::IsKnownKeyword("NoSuchThing"));
    EXPECT_TRUE(shell.messages.empty());
}

TEST(SkinViewLoading, MismatchesAreReportedAndAMissingSkinKeepsTheContent)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    SkinFolder skins;
    skins.Write("Wrong", "<L Class=\"MsgLabel\" Left=\"0\" Top=\"0\" Width=\"9\" Height=\"9\"/>", "MixerView");
    SkinView view;
    ASSERT_TRUE(view.LoadSkin("Wrong", "View"));
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_NE(shell.messages[0].find(skins.Folder("Wrong").string()), std::string::npos);
    EXPECT_EQ(view.Elements().size(), 1u); // loading went on

    EXPECT_FALSE(view.LoadSkin("Absent", "View"));
    EXPECT_EQ(view.Elements().size(), 1u);
}

TEST(SkinViewStoring, AStoredViewReadsBackTheSameElements)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    SkinFolder skins;
    skins.Write("Trip", "<Go Class=\"MsgButton\" Left=\"10\" Top=\"20\" Width=\"30\" Height=\"15\" "
                        "Message=\"WM_ZOOM_IN_TIME\" Latch=\"True\">"
                        "<State Index=\"1\" Param1=\"7\" Param2=\"8\"/><State Index=\"0\" Param1=\"5\" Param2=\"6\"/>"
                        "<State Index=\"1\" Param1=\"99\" Param2=\"99\"/></Go>"
                        "<Note Class=\"MsgLabel\" Left=\"1\" Top=\"2\" Width=\"3\" Height=\"4\" TextClr=\"#102030\"/>");
    SkinView original;
    ASSERT_TRUE(original.LoadSkin("Trip", "View"));
    const std::string stored = (skins.Folder("Trip") / "Stored.skin").string();
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, stored, CXMLArchive::kStore));
        original.SerializeXML(archive);
        ASSERT_TRUE(archive.Save());
    }
    SkinView copy;
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, stored, CXMLArchive::kLoad));
    copy.SerializeXML(archive);

    ASSERT_EQ(copy.Elements().size(), 2u);
    auto* button = dynamic_cast<MsgButton*>(copy.Elements()[0]);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->geometry(), QRect(10, 20, 30, 15));
    EXPECT_TRUE(button->IsLatched());
    EXPECT_EQ(button->MessageName(), "WM_ZOOM_IN_TIME");
    ASSERT_EQ(button->States().Count(), 2);
    EXPECT_EQ(button->States().Find(1)->first, 7); // the first State of an index wins
    EXPECT_EQ(button->States().Find(0)->second, 6);
    auto* label = dynamic_cast<MsgLabel*>(copy.Elements()[1]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->TextColour(), Colour::FromRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(copy.GetTitle(), "Test");
    EXPECT_TRUE(shell.messages.empty());
}

TEST(SkinViewPicture, ASmallSkinIsDrawnAsItsElementsSay)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    SkinFolder skins;
    test::WritePng(skins.Folder("Pic") / "logo.png", 120, 60, kGreen, kBlue);
    test::WritePng(skins.Folder("Pic") / "button.png", 160, 40, kYellow, kGreen); // two 80-pixel frames
    skins.Write("Pic", "<Logo Class=\"Image\" Left=\"40\" Top=\"40\" Width=\"120\" Height=\"60\" Image=\"logo.png\"/>"
                       "<Play Class=\"MsgButton\" Left=\"40\" Top=\"120\" Width=\"100\" Height=\"50\" "
                       "Image=\"button.png\"><State Index=\"0\"/><State Index=\"1\"/></Play>"
                       "<Caption Class=\"MsgLabel\" Left=\"40\" Top=\"180\" Width=\"200\" Height=\"30\" "
                       "DisplayText=\"Jorvo skin\" TextClr=\"#FFFFFF\"/>");
    SkinView view;
    view.resize(480, 640);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x40));
    view.setPalette(palette);
    view.setAutoFillBackground(true);
    ASSERT_TRUE(view.LoadSkin("Pic", "View"));
    const QImage screen = view.grab().toImage();
    screen.save(QString(JORVO_TEST_OUTPUT_DIR) + "/ui_skin_view.png");

    EXPECT_EQ(screen.pixel(50, 50), kBlue);       // left half of the logo
    EXPECT_EQ(screen.pixel(150, 90), kGreen);     // right half
    EXPECT_EQ(screen.pixel(60, 140), kGreen);     // the button's first frame only
    EXPECT_EQ(screen.pixel(130, 140), 0xFF303040u); // it was resized to one frame
    EXPECT_TRUE(shell.messages.empty());
}

} // namespace
} // namespace jorvo
