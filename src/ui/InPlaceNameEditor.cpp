#include "ui/InPlaceNameEditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace jorvo {

InPlaceNameEditor::InPlaceNameEditor(QWidget* element) : QLineEdit(element)
{
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    hide();
}

InPlaceNameEditor::~InPlaceNameEditor()
{
    if (editing_)
        qApp->removeEventFilter(this);
}

void InPlaceNameEditor::Begin(const QRect& rect, const std::string& text, CommitFunction commit)
{
    if (editing_)
        Finish();
    initial_ = text;
    commit_ = std::move(commit);
    editing_ = true;
    setText(QString::fromStdString(text));
    setGeometry(rect.adjusted(0, 0, 0, std::max(0, sizeHint().height() - rect.height())));
    selectAll();
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    // A pen down on an element that takes no focus must end the edit too.
    qApp->installEventFilter(this);
}

void InPlaceNameEditor::Finish()
{
    if (!editing_)
        return;
    const std::string name = text().toStdString();
    CommitFunction commit = std::move(commit_);
    End();
    if (commit && !name.empty() && name != initial_)
        commit(name);
}

void InPlaceNameEditor::Cancel()
{
    if (editing_)
        End();
}

void InPlaceNameEditor::End()
{
    editing_ = false;
    commit_ = nullptr;
    qApp->removeEventFilter(this);
    hide();
}

void InPlaceNameEditor::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Finish(); return;
    case Qt::Key_Escape: Cancel(); return;
    default: QLineEdit::keyPressEvent(event);
    }
}

void InPlaceNameEditor::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A menu or tool tip taking the focus for a moment does not end the edit.
    if (event->reason() != Qt::PopupFocusReason)
        Finish();
}

bool InPlaceNameEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && editing_) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget != this && !isAncestorOf(widget))
            Finish();
    }
    return QLineEdit::eventFilter(watched, event);
}

} // namespace jorvo
