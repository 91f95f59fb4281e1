#pragma once
// The splash window shown while the studio starts: the picture "skins.dat" from the skins folder
// (an ordinary image file), or the program's name when there is none. It hides itself on a click,
// a key or after a few seconds. UI thread only.
#include <QTimer>
#include <QWidget>

namespace jorvo {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // How long the splash stays at the most.
    static constexpr int kShowMilliseconds = 4000;

    explicit SplashWindow(QWidget* parent = nullptr);

    // True when the picture was found and shown.
    bool HasPicture() const { return hasPicture_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTimer timer_;
    bool hasPicture_ = false;
};

} // namespace jorvo
