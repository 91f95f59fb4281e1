#include "app/frame/SplashWindow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/frame/FrameTexts.h"
#include "document/Configuration.h"
#include "platform/Paths.h"
#include "ui/SkinImage.h"

namespace jorvo {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    auto* picture = new QLabel(this);
    picture->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);

    // A splash is not worth an error message: without the picture the name is shown instead.
    const std::string folder = Configuration().GetSkinsDir();
    if (FileExists(JoinPath(folder, FrameTexts::kSplashImage))) {
        SkinImage image("BackgroundImage");
        image.SetFolder(folder);
        image.SetFile(FrameTexts::kSplashImage);
        if (image.Load() && image.Bitmap()) {
            picture->setPixmap(QPixmap::fromImage(*image.Bitmap()));
            hasPicture_ = true;
        }
    }
    if (!hasPicture_) {
        picture->setText(QString::fromUtf8(FrameTexts::kSplashText));
        picture->setFont(QFont("Tahoma", 16, QFont::Bold));
        picture->setStyleSheet("QLabel { background: #282a2e; color: #f0f0f0; }");
        picture->setFixedSize(320, 200);
    }
    adjustSize();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QWidget::hide);
    timer_.start(kShowMilliseconds);
}

void SplashWindow::mousePressEvent(QMouseEvent*)
{
    hide();
}

void SplashWindow::keyPressEvent(QKeyEvent*)
{
    hide();
}

} // namespace jorvo
