// Skin images: one decoded bitmap per file shared by every image naming it and freed with the
// last image; a missing file reported once and drawn black; pure blue drawn transparent.
#include <memory>

#include <gtest/gtest.h>
#include <QPainter>

#include "document/Configuration.h"
#include "platform/RecordingShell.h"
#include "platform/TextFormat.h"
#include "support/TestSupport.h"
#include "ui/SkinImage.h"
#include "ui/SkinView.h"
#include "ui/UIImage.h"
#include "ui/UIMessages.h"
#include "ui/UiTestSupport.h"

namespace jorvo {
namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kWhite = 0xFFFFFFFF;

TEST(SkinImageCache, ImagesOfOneFileShareOneBitmapFreedWithTheLast)
{
    test::TempDir dir;
    const std::string file = test::WritePng(dir / "knob.png", 8, 4, kRed, kRed);
    ASSERT_EQ(SkinImage::LiveCount(), 0);

    auto first = std::make_unique<SkinImage>();
    auto second = std::make_unique<SkinImage>("BackgroundImage");
    first->SetFile(file);
    second->SetFile(file);
    ASSERT_TRUE(first->Load());
    ASSERT_TRUE(second->Load());
    EXPECT_EQ(first->Bitmap(), second->Bitmap());
    EXPECT_EQ(SkinImage::CachedBitmapCount(), 1);
    EXPECT_EQ(second->Width(), 8);
    EXPECT_EQ(second->Height(), 4);
    EXPECT_EQ(second->Rect(), QRect(0, 0, 8, 4)); // an empty rectangle takes the bitmap's size

    first.reset();
    EXPECT_EQ(SkinImage::CachedBitmapCount(), 1);
    ASSERT_TRUE(second->HasBitmap());
    EXPECT_EQ(second->Bitmap()->pixel(1, 1), kRed);

    second.reset();
    EXPECT_EQ(SkinImage::CachedBitmapCount(), 0);
}

TEST(SkinImageSearch, FindsTheFileInTheCurrentSkinFolderThenTheSkinsFolder)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    test::TempDir dir;
    std::filesystem::create_directories(dir / "current");
    std::filesystem::create_directories(dir / "skins");
    test::WritePng(dir / "current" / "a.png", 2, 2, kRed, kRed);
    test::WritePng(dir / "skins" / "b.png", 2, 2, kRed, kRed);
    Configuration().SetSkinFolder((dir / "current").string());
    Configuration().SetSkinsDir((dir / "skins").string());

    SkinImage inCurrent, inSkins;
    inCurrent.SetFile("a.png");
    inSkins.SetFile("\\b.png"); // a leading separator is not doubled
    EXPECT_TRUE(inCurrent.Load());
    EXPECT_TRUE(inSkins.Load());
    EXPECT_EQ(inCurrent.Folder(), (dir / "current").string());
    EXPECT_EQ(inSkins.Folder(), (dir / "skins").string());
    EXPECT_TRUE(shell.messages.empty());
}

TEST(SkinImageSearch, MissingImageIsReportedOnceAndDrawnBlack)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    test::TempDir dir;
    Configuration().SetSkinFolder((dir / "current").string());
    Configuration().SetSkinsDir((dir / "skins").string());

    SkinView view;
    view.resize(100, 100);
    auto element = std::make_unique<UIImage>(&view);
    element->Picture().SetFile("nowhere.png");
    ASSERT_TRUE(element->Create(10, 10, 20, 20));
    view.AddElement(element.release());
    view.grab();
    const QImage screen = view.grab().toImage(); // painted twice, reported once

    const std::string expected =
        FormatText(UIMessages::kImageNotFound,
                   {"nowhere.png", "", (dir / "current").string(), (dir / "skins").string()});
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0], expected);
    EXPECT_EQ(screen.pixel(20, 20), 0xFF000000u);
    EXPECT_EQ(screen.pixel(29, 29), 0xFF000000u);
}

TEST(SkinImageDrawing, PureBlueIsTransparentAndFramesAreSlices)
{
    test::TempDir dir;
    const std::string file = test::WritePng(dir / "strip.png", 8, 2, kRed, kBlue);
    QImage canvas(8, 2, QImage::Format_RGB32);
    canvas.fill(kWhite);
    {
        SkinImage keyed;
        keyed.SetFile(file);
        keyed.SetTransparent(true);
        QPainter painter(&canvas);
        keyed.Draw(painter);
    }
    EXPECT_EQ(canvas.pixel(1, 1), kWhite); // blue half shows what lies below
    EXPECT_EQ(canvas.pixel(6, 1), kRed);

    canvas.fill(kWhite);
    {
        SkinImage frames;
        frames.SetFile(file);
        frames.SetRect(QRect(0, 0, 4, 2));
        QPainter painter(&canvas);
        frames.DrawFrame(painter, 4, 4); // the second frame: the red half
    }
    EXPECT_EQ(canvas.pixel(0, 0), kRed);
    EXPECT_EQ(canvas.pixel(5, 0), kWhite);
}

} // namespace
} // namespace jorvo
