#pragma once
// What every dialog of the program shares: the Tahoma font, a size that fits the 480 x 640 screen,
// the OK and Cancel buttons with the program's own texts, and text conversion. UI thread.
#include <string>

#include <QString>

class QDialog;
class QDialogButtonBox;
class QPushButton;
class QWidget;

namespace jorvo {

// The screen every dialog must fit.
inline constexpr int kScreenWidth = 480;
inline constexpr int kScreenHeight = 640;

inline QString ToQString(const std::string& text) { return QString::fromStdString(text); }
inline std::string ToStdString(const QString& text) { return text.toStdString(); }

// Gives `dialog` its title and the dialog font, and keeps it within the screen, `width` wide
// (clamped to the screen) and as tall as its contents need.
void PrepareDialog(QWidget& dialog, const std::string& title, int width = 360);

// Adds "&OK" and "Cancel" buttons wired to accept and reject; a dialog that checks its values
// before closing connects the OK button itself and passes `okAccepts` false.
QDialogButtonBox* AddOkCancel(QDialog& dialog, bool okAccepts = true);

// The OK button of a box made by AddOkCancel.
QPushButton* OkButton(QDialogButtonBox& box);

} // namespace jorvo
