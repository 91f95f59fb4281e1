#include "app/dialogs/RenderDialog.h"

#include <filesystem>
#include <thread>

#include <QApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "app/JorvoDoc.h"
#include "app/dialogs/DialogSupport.h"
#include "app/dialogs/UiThreadShell.h"
#include "engine/SongRenderer.h"

namespace jorvo {

namespace {

// The bar counts in steps of a thousandth of the range, so that long songs fit its int range.
constexpr int kBarSteps = 1000;

// The progress display's side of the render, called from the render thread.
class DialogFrontEnd : public RenderFrontEnd {
public:
    explicit DialogFrontEnd(RenderProgressDialog& dialog) : dialog_(dialog) {}

    void BeginProgress(std::uint32_t start, std::uint32_t end) override
    {
        QMetaObject::invokeMethod(&dialog_, [this, start, end] { dialog_.Begin(start, end); },
                                  Qt::BlockingQueuedConnection);
    }
    void SetProgress(std::uint32_t pulse) override { dialog_.SetPulse(pulse); }
    bool CancelRequested() override { return dialog_.CancelRequested(); }
    // The dialog stays up, modal, while the studio is put back and the outcome is shown, so that
    // nothing can be edited until the render is over; it goes when the render thread has ended.
    void EndProgress() override
    {
        QMetaObject::invokeMethod(&dialog_, [this] { dialog_.Finish(); }, Qt::BlockingQueuedConnection);
    }

private:
    RenderProgressDialog& dialog_;
};

// The document's path (or the one proposed for an untitled document) as a WAV file, so that
// accepting the offered name never overwrites the document itself.
std::string WavPathFor(const CJorvoDoc& document)
{
    std::filesystem::path path = document.GetPathName().empty() ? document.GetDefaultPathName()
                                                                  : document.GetPathName();
    return path.replace_extension(".wav").string();
}

} // namespace

RenderProgressDialog::RenderProgressDialog(QWidget* parent)
    : QDialog(parent), bar_(new QProgressBar(this)), updates_(new QTimer(this))
{
    setObjectName(QStringLiteral("renderProgress"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(32, 32));
    row->addWidget(icon);
    row->addWidget(new QLabel(QStringLiteral("Rendering..."), this), 1);
    layout->addLayout(row);
    bar_->setRange(0, kBarSteps);
    bar_->setTextVisible(false);
    layout->addWidget(bar_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    cancelButton_ = box->button(QDialogButtonBox::Cancel);
    cancelButton_->setText(QStringLiteral("Cancel"));
    connect(box, &QDialogButtonBox::rejected, this, &RenderProgressDialog::reject);
    layout->addWidget(box);
    PrepareDialog(*this, std::string(), 320);

    updates_->setInterval(static_cast<int>(SongRenderer::kPollInterval.count()));
    connect(updates_, &QTimer::timeout, this, &RenderProgressDialog::ShowPulse);
}

void RenderProgressDialog::Begin(std::uint32_t start, std::uint32_t end)
{
    start_ = start;
    end_ = end;
    pulse_ = start;
    cancel_ = false;
    ShowPulse();
    show();
    updates_->start();
}

void RenderProgressDialog::Finish()
{
    updates_->stop();
    ShowPulse();
    cancelButton_->setEnabled(false);
}

void RenderProgressDialog::reject()
{
    cancel_ = true;
}

void RenderProgressDialog::ShowPulse()
{
    const std::uint64_t start = start_, end = end_, pulse = pulse_;
    const std::uint64_t done = pulse > start ? pulse - start : 0;
    bar_->setValue(end > start ? static_cast<int>(std::min<std::uint64_t>(done * kBarSteps / (end - start), kBarSteps))
                               : kBarSteps);
}

bool RenderSongToAudio(QWidget* parent, CJorvoDoc& document)
{
    SoundStudio* studio = document.GetStudio();
    if (!studio)
        return false;
    RenderProgressDialog progress(parent);
    UiThreadShell uiShell(Shell());
    const ScopedShell scoped(uiShell);
    DialogFrontEnd frontEnd(progress);
    const std::string offered = WavPathFor(document);

    QEventLoop loop;
    RenderOutcome outcome = RenderOutcome::NotStarted;
    std::thread render([&] {
        outcome = SongRenderer(*studio, frontEnd).Run(offered);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    render.join();
    progress.hide();
    return outcome == RenderOutcome::Rendered;
}

} // namespace jorvo
