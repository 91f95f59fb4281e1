#include "ui/MsgLabel.h"

#include <QPainter>

namespace jorvo {
namespace {

constexpr int kLabelFontPixels = 12;

} // namespace

MsgLabel::MsgLabel(QWidget* parent) : UIMsgElement(parent) {}

void MsgLabel::SerializeXML(CXMLArchive& archive)
{
    UIMsgElement::SerializeXML(archive);
    // BackgroundImage="label.png" DisplayText="Tempo" TextClr="#FFFFFF"
    background_.SerializeXML(archive);
    archive.Serialize("DisplayText", text_);
    archive.Serialize("TextClr", textColour_);
}

bool MsgLabel::Create(int left, int top, int width, int height)
{
    background_.SetRect(QRect(0, 0, width, height));
    return UIMsgElement::Create(left, top, width, height);
}

void MsgLabel::SetDisplayText(const std::string& text)
{
    text_ = text;
    update();
}

void MsgLabel::Draw(QPainter& painter)
{
    if (!background_.File().empty())
        background_.Draw(painter);
    QFont font("Tahoma");
    font.setPixelSize(kLabelFontPixels);
    painter.setFont(font);
    painter.setPen(QColor(textColour_.Red(), textColour_.Green(), textColour_.Blue()));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdString(text_));
}

void MsgLabel::PenDoubleTap(const QPoint&)
{
    Send(0, 0);
}

} // namespace jorvo
