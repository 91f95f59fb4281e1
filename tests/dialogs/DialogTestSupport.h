#pragma once
// Helpers for driving the dialogs in tests: scripts that run once a modal dialog is up, buttons
// found by their text, and screens saved for a person to look at.
#include <functional>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace jorvo::test {

// Runs `script` on the modal dialog that opens next (checked every 10 ms), for dialogs run with
// exec(). Call before the call that opens the dialog.
inline void WhenModal(std::function<void(QWidget&)> script, QWidget* previous = nullptr)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, script, previous] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == previous)
            return;
        timer->stop();
        timer->deleteLater();
        script(*modal);
    });
    timer->start();
}

// The button of `dialog` showing `text` (mnemonic marks aside), or null.
inline QAbstractButton* Button(QWidget& dialog, QString text)
{
    text.remove('&');
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (QString(button->text()).remove('&') == text)
            return button;
    return nullptr;
}

// Clicks the button of `dialog` showing `text`; false when there is none (the dialog is then
// closed, so that a failing test does not wait for ever).
inline bool Click(QWidget& dialog, const QString& text)
{
    QAbstractButton* button = Button(dialog, text);
    if (!button) {
        dialog.close();
        return false;
    }
    button->click();
    return true;
}

// A double tap at `point` of `widget`, delivered as the window system does: a full click, then
// the second press as a double click and its release.
inline void DoubleClick(QWidget& widget, QPoint point)
{
    QTest::mouseClick(&widget, Qt::LeftButton, {}, point);
    QTest::mouseDClick(&widget, Qt::LeftButton, {}, point);
}

// Triggers the entry `text` of `menu`; false when there is none.
inline bool Trigger(QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions())
        if (action->text() == text) {
            action->trigger();
            return true;
        }
    return false;
}

// The texts of the rows of `list`, top to bottom.
inline QStringList Items(const QListWidget& list)
{
    QStringList items;
    for (int row = 0; row < list.count(); ++row)
        items << list.item(row)->text();
    return items;
}

// Saves what `widget` shows as dialogs_<name>.png in the screens folder.
inline void SaveScreen(QWidget& widget, const std::string& name)
{
    widget.grab().save(QString::fromStdString(std::string(JORVO_TEST_OUTPUT_DIR) + "/dialogs_" + name + ".png"));
}

} // namespace jorvo::test
