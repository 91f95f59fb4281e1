#pragma once
// Renaming in place: an edit laid over a rectangle of an element (a block's title in the pattern,
// section and song editors), pre-filled and selected. Enter, focus loss or a pen down anywhere
// outside it ends the edit and hands a changed name to the element; Escape ends it without.
// UI thread.
#include <functional>
#include <string>

#include <QLineEdit>

namespace jorvo {

class InPlaceNameEditor : public QLineEdit {
    Q_OBJECT
public:
    using CommitFunction = std::function<void(const std::string&)>;

    // An editor over `element`, hidden until Begin.
    explicit InPlaceNameEditor(QWidget* element);
    ~InPlaceNameEditor() override;

    // Shows the edit over `rect` (element coordinates) with `text`; `commit` receives the name
    // when the edit ends with a different, non-empty text.
    void Begin(const QRect& rect, const std::string& text, CommitFunction commit);
    // Ends the edit, handing a changed name on.
    void Finish();
    // Ends the edit without handing anything on.
    void Cancel();
    // True while the edit is shown.
    bool IsEditing() const { return editing_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void End();

    std::string initial_;
    CommitFunction commit_;
    bool editing_ = false;
};

} // namespace jorvo
