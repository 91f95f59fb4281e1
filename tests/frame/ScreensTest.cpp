// Pictures of the studio window with the demo song for a person to look at: the main view, the
// mixer and every editor, each inside the whole window (menu, command bar, status strip).
#include <gtest/gtest.h>

#include <QImage>

#include "app/frame/CMixerView.h"
#include "frame/FrameTestSupport.h"

namespace jorvo {
namespace {

using test::StudioWindow;

std::string ScreenFileName(const std::string& title)
{
    std::string name = "frame_";
    for (const char c : title)
        name += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '_';
    return name + ".png";
}

QImage SaveScreen(CMainFrame& frame, const std::string& title)
{
    StudioWindow::Settle();
    const QImage image = frame.grab().toImage();
    const std::filesystem::path folder(JORVO_TEST_OUTPUT_DIR);
    std::filesystem::create_directories(folder);
    image.save(QString::fromStdString((folder / ScreenFileName(title)).string()), "PNG");
    return image;
}

// The shipped skins when the repository has them, else the tests' own.
std::filesystem::path ScreenSkins()
{
    const std::filesystem::path shipped = test::Repository() / "skins";
    return std::filesystem::exists(shipped / "Jorvo" / "Jorvo.skin") ? shipped : std::filesystem::path();
}

TEST(Screens, TheDemoSongInEveryView)
{
    StudioWindow window(ScreenSkins());
    CMainFrame& frame = *window.frame;
    ASSERT_TRUE(frame.Commands().OpenPath((test::Repository() / "examples" / "Demo.xml").string()))
        << window.shell.LastMessage();
    frame.show();
    frame.UpdateStatus();

    const QImage main = SaveScreen(frame, "main");
    EXPECT_GE(main.width(), CMainFrame::kViewWidth);
    EXPECT_GE(main.height(), CMainFrame::kViewHeight);

    frame.DisplayMixer();
    auto* mixer = qobject_cast<CMixerView*>(frame.ActiveView());
    ASSERT_NE(mixer, nullptr);
    EXPECT_NE(mixer->StripChannel(0), nullptr);
    SaveScreen(frame, "mixer");

    for (CSeqView* view : frame.ViewsOfKind({"SeqEditorView", "InstrumentView", "EffectView"})) {
        frame.ActivateView(view);
        SaveScreen(frame, view->GetClassKeyword() + " " + view->GetTitle());
    }
    EXPECT_FALSE(frame.ViewsOfKind({"InstrumentView"}).empty());
}

} // namespace
} // namespace jorvo
