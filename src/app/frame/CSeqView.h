#pragma once
// The base of every screen of the studio window: a skinned view with a background (an image, or
// a colour), the keys and messages every view understands, and a context menu opened by holding
// the pen on the background (or a right click). The main frame keeps the views in its view list
// and shows one at a time. UI thread only.
#include <cstdint>
#include <memory>
#include <string>

#include <QTimer>

#include "document/XMLArchive.h"
#include "ui/SkinView.h"

class QMenu;
class QPainter;

namespace jorvo {

class SkinImage;

// What a view asks of the main frame through its messages (WM_FILE_*, WM_VIEW_MIXER).
enum class FrameCommand { New, Open, Save, Exit, Help, ShowMixer };

class CSeqView : public SkinView {
    Q_OBJECT
public:
    // The background of a view without a "BackgroundImage" or "BackgroundColour".
    static constexpr Colour kDefaultBackground = Colour::FromRgb(40, 42, 46);

    explicit CSeqView(QWidget* parent = nullptr);
    ~CSeqView() override;

    std::string GetClassKeyword() const override { return "View"; }

    // The Views menu command that activates this view (0 until the menu lists it).
    int MenuCommand() const { return menuCommand_; }
    void SetMenuCommand(int command) { menuCommand_ = command; }

    // The object the view shows (instrument, effect, mixer), or null.
    virtual void* ShownTarget() const { return nullptr; }
    // Redraws the view from its target; the base repaints.
    virtual void RefreshFromTarget() { update(); }

    // Besides the skin's view description: "BackgroundImage" and "BackgroundColour".
    void SerializeXML(CXMLArchive& archive) override;

    // What an empty view (no elements, no picture) says under its title; the base says nothing.
    virtual std::string EmptyViewHint() const { return {}; }

    // Adds the view's context-menu commands to `menu`; the base adds none.
    virtual void FillContextMenu(QMenu& menu);

    const SkinImage& Background() const { return *background_; }
    Colour BackgroundColour() const { return backgroundColour_; }
    void SetBackgroundColour(Colour colour);
    // Names the background image (empty: the colour only).
    void SetBackgroundImage(const std::string& file);

signals:
    // A message of the view asked the main frame for a command.
    void frameCommand(jorvo::FrameCommand command);

protected:
    // WM_VIEW_* editors and mixer, WM_FILE_* commands.
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    // The background's part of SerializeXML, for views that read their description themselves.
    void SerializeBackground(CXMLArchive& archive);

    void paintEvent(QPaintEvent* event) override;
    // A key pressed on the view, after the elements had it: Enter starts or pauses the song.
    virtual void KeyDown(QKeyEvent* event);
    // Every key goes on to the elements, then to KeyDown.
    void keyPressEvent(QKeyEvent* event) final;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void LoadBackground();
    void PaintEmptyView(QPainter& painter);
    void ForwardKey(QKeyEvent* event);
    bool ShowContextMenu(const QPoint& point);
    void TapAndHoldElapsed();

    int menuCommand_ = 0;
    std::unique_ptr<SkinImage> background_;
    Colour backgroundColour_ = kDefaultBackground;
    // The background's own tap-and-hold: the pen is down on the background (not on an element).
    QTimer tapHoldTimer_;
    QPoint penDownAt_;
    QPoint penNow_;
    bool penDown_ = false;
    // Set while a key is handed to the elements: one they ignore comes back to the view.
    bool forwardingKey_ = false;
};

} // namespace jorvo
