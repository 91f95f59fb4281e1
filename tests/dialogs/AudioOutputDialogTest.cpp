// The audio output dialog: the fields it opens with, the live latency read-out, the focus checks
// that put the previous value back, and OK refused by the output's own check keeping it open.
#include "app/dialogs/AudioOutputDialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/dialogs/QtShell.h"
#include "audio/AudioMessages.h"
#include "audio/AudioOutputOptions.h"
#include "dialogs/DialogTestSupport.h"
#include "platform/RecordingShell.h"
#include "platform/TextFormat.h"

namespace jorvo {
namespace {

class AudioOutputDialogTest : public ::testing::Test {
protected:
    AudioOutputDialogTest()
    {
        request.devices = {{0, "Built-in Audio"}, {3, "USB Headset"}};
        request.current = {16, 1024, 3};
        request.latencyText = [](const AudioOutputChoice& choice) {
            return LatencyText(choice.blockSize, choice.blockCount, 44100);
        };
        const AudioOutputChoice opened = request.current;
        request.acceptOk = [opened](AudioOutputChoice& entered) { return CheckOk(entered, opened); };
    }

    // Ends editing of `field` as losing the focus does.
    static void Leave(QLineEdit& field) { QMetaObject::invokeMethod(&field, "editingFinished"); }

    RecordingShell shell;
    ScopedShell scoped{shell};
    AudioOutputOptionsRequest request;
};

TEST_F(AudioOutputDialogTest, OpensWithTheCurrentValuesAndTheLatencyFollowsTyping)
{
    AudioOutputDialog dialog(request, nullptr);
    dialog.show();
    auto* devices = dialog.findChild<QComboBox*>("devices");
    auto* buffers = dialog.findChild<QLineEdit*>("buffers");
    auto* latency = dialog.findChild<QLabel*>("latency");
    ASSERT_TRUE(devices && buffers && latency);
    EXPECT_EQ(dialog.windowTitle(), "Audio Output Options");
    EXPECT_EQ(devices->currentText(), "USB Headset");
    EXPECT_EQ(buffers->text(), "16");
    EXPECT_EQ(latency->text(), "Latency = 372 ms");
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Number of Buffers:", "Samples per Buffer:", "Latency:", "(3 - 32)", "(8 - 8192)"})
        EXPECT_TRUE(labels.contains(text)) << text;
    test::SaveScreen(dialog, "audio_output");

    buffers->selectAll();
    QTest::keyClicks(buffers, "8");
    EXPECT_EQ(latency->text(), "Latency = 186 ms");
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(AudioOutputDialogTest, AFieldOutsideItsRangeIsPutBackWhenLeft)
{
    AudioOutputDialog dialog(request, nullptr);
    auto* buffers = dialog.findChild<QLineEdit*>("buffers");
    auto* samples = dialog.findChild<QLineEdit*>("samples");
    buffers->setText("300");
    Leave(*buffers);
    EXPECT_EQ(buffers->text(), "16");
    EXPECT_EQ(shell.LastMessage(), kBlocksFieldRange);

    buffers->setText("100"); // the field allows up to 256
    Leave(*buffers);
    EXPECT_EQ(buffers->text(), "100");
    samples->setText("16");
    Leave(*samples);
    EXPECT_EQ(samples->text(), "1024");
    EXPECT_EQ(shell.LastMessage(), kSamplesFieldRange);
    EXPECT_EQ(shell.messages.size(), 2u);
}

TEST_F(AudioOutputDialogTest, OkRefusedByTheOutputKeepsTheDialogOpenWithTheValuePutBack)
{
    QtShell qtShell;
    test::WhenModal([](QWidget& dialog) {
        auto* buffers = dialog.findChild<QLineEdit*>("buffers");
        auto* devices = dialog.findChild<QComboBox*>("devices");
        buffers->setText("100");
        EXPECT_TRUE(test::Click(dialog, "&OK"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(buffers->text(), "16");
        buffers->setText("8");
        devices->setCurrentIndex(0);
        EXPECT_TRUE(test::Click(dialog, "&OK"));
    });
    const std::optional<AudioOutputChoice> chosen = qtShell.AudioOutputOptions(request);
    EXPECT_EQ(shell.messages, std::vector<std::string>{FormatText(kBuffersOkRange, {"3", "32"})});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->blockCount, 8u);
    EXPECT_EQ(chosen->blockSize, 1024u);
    EXPECT_EQ(chosen->device, 0u);

    test::WhenModal([](QWidget& dialog) { EXPECT_TRUE(test::Click(dialog, "Cancel")); });
    EXPECT_EQ(qtShell.AudioOutputOptions(request), std::nullopt);
}

} // namespace
} // namespace jorvo
