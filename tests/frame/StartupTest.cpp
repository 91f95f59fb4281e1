// What the command line opens, and the splash window with and without its picture.
#include <gtest/gtest.h>

#include <QTest>

#include "app/StudioLaunch.h"
#include "app/frame/SplashWindow.h"
#include "ui/UiTestSupport.h"
#include "frame/FrameTestSupport.h"

namespace jorvo {
namespace {

TEST(Startup, NothingOrADocumentOpensTheWindowAndACommandStaysHeadless)
{
    test::TempDir dir;
    const std::string document = (dir / "song.jorvo").string();
    test::WriteFileBytes(document, "JorvoDoc");
    ASSERT_TRUE(HasDisplay()); // the tests run on Qt's offscreen platform
    EXPECT_TRUE(WantsStudioWindow({}));
    EXPECT_TRUE(WantsStudioWindow({document}));
    EXPECT_FALSE(WantsStudioWindow({"info", document}));
    EXPECT_FALSE(WantsStudioWindow({"render"}));
    EXPECT_FALSE(WantsStudioWindow({(dir / "missing.jorvo").string()}));
}

TEST(Startup, TheSplashShowsSkinsDatOrTheNameAndHidesOnAClick)
{
    test::TestSkins skins;
    {
        RecordingShell shell;
        ScopedShell installed(shell);
        SplashWindow splash;
        EXPECT_FALSE(splash.HasPicture());
        EXPECT_TRUE(shell.messages.empty()); // no picture is no error
    }
    test::WritePng(skins.Folder() / "skins.dat", 240, 320, 0xFF203040, 0xFF405060);
    SplashWindow splash;
    EXPECT_TRUE(splash.HasPicture());
    EXPECT_EQ(splash.sizeHint(), QSize(240, 320));
    splash.show();
    QTest::mouseClick(&splash, Qt::LeftButton);
    EXPECT_FALSE(splash.isVisible());
}

} // namespace
} // namespace jorvo
