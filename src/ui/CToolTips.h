#pragma once
// The value tip: one process-wide popup showing one line of text next to the element being
// handled. It hides itself 1000 ms after the last SetText or ShowAt. UI thread only.
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace jorvo {

class CToolTips : public QWidget {
    Q_OBJECT
public:
    // How long the tip stays after the last change, in milliseconds.
    static constexpr int kHideDelayMs = 1000;

    // The tip window, created on first use.
    static CToolTips& Instance();
    // True once the tip window exists.
    static bool Exists();
    // Destroys the tip window (program end).
    static void DestroyInstance();

    // Shows `text`, sized to it and kept inside the main window; nothing when it is unchanged.
    void SetText(const QString& text);
    // Attaches the tip to `element` and, when that is a new element, moves it to `screenPoint`
    // (top-left corner, kept inside the main window); shows it and restarts the hide timer.
    void ShowAt(QWidget* element, const QPoint& screenPoint);
    // Hides the tip and stops its timer.
    void Hide();

    const QString& Text() const { return text_; }
    // The element the tip is attached to, or null.
    QWidget* AttachedElement() const { return attached_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CToolTips();
    QRect KeptInsideMainWindow(QRect rect) const;
    void ShowAndRestartTimer();

    QString text_;
    QFont font_;
    QTimer hideTimer_;
    QPointer<QWidget> attached_;
};

} // namespace jorvo
