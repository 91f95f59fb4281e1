#include "app/dialogs/DialogSupport.h"

#include <algorithm>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QLayout>
#include <QPushButton>

namespace jorvo {

namespace {

QFont DialogFont()
{
    QFont font("Tahoma");
    font.setPointSize(9);
    return font;
}

} // namespace

void PrepareDialog(QWidget& dialog, const std::string& title, int width)
{
    dialog.setWindowTitle(ToQString(title));
    dialog.setFont(DialogFont());
    dialog.setMaximumSize(kScreenWidth, kScreenHeight);
    dialog.resize(std::min(width, kScreenWidth), std::min(dialog.sizeHint().height(), kScreenHeight));
}

QDialogButtonBox* AddOkCancel(QDialog& dialog, bool okAccepts)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    if (okAccepts)
        QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.layout())
        dialog.layout()->addWidget(box);
    return box;
}

QPushButton* OkButton(QDialogButtonBox& box)
{
    return box.button(QDialogButtonBox::Ok);
}

} // namespace jorvo
