#include "app/frame/CSeqView.h"

#include <cstdlib>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "document/Configuration.h"
#include "engine/SoundStudio.h"
#include "sequencer/Sequencer.h"
#include "ui/SkinImage.h"
#include "ui/UIElement.h"

namespace jorvo {

namespace {

constexpr char kBackgroundImage[] = "BackgroundImage";
constexpr char kBackgroundColour[] = "BackgroundColour";

bool Is(WindowMessage message, const char* name)
{
    return message == RegisterWindowMessage(name);
}

QColor ToQColor(Colour colour)
{
    return QColor(colour.Red(), colour.Green(), colour.Blue());
}

} // namespace

CSeqView::CSeqView(QWidget* parent) : SkinView(parent), background_(std::make_unique<SkinImage>(kBackgroundImage))
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    tapHoldTimer_.setSingleShot(true);
    connect(&tapHoldTimer_, &QTimer::timeout, this, &CSeqView::TapAndHoldElapsed);
}

CSeqView::~CSeqView() = default;

void CSeqView::SetBackgroundColour(Colour colour)
{
    backgroundColour_ = colour;
    update();
}

void CSeqView::SetBackgroundImage(const std::string& file)
{
    background_->SetFile(file);
    LoadBackground();
}

void CSeqView::LoadBackground()
{
    // Loaded here rather than when painting: a missing image is reported with a message box.
    if (!background_->File().empty())
        background_->Load();
    update();
}

void CSeqView::SerializeBackground(CXMLArchive& archive)
{
    if (archive.IsLoading()) {
        background_->SerializeXML(archive);
        archive.Read(kBackgroundColour, backgroundColour_);
        LoadBackground();
        return;
    }
    if (!background_->File().empty())
        background_->SerializeXML(archive);
    archive.Write(kBackgroundColour, backgroundColour_);
}

void CSeqView::SerializeXML(CXMLArchive& archive)
{
    if (archive.IsLoading()) {
        SerializeBackground(archive);
        SkinView::SerializeXML(archive);
        return;
    }
    // <Keyword Name="title" BackgroundImage="…" BackgroundColour="#…"><UIElementList>…
    if (archive.GetCurrentNode().IsNull())
        archive.CreateRoot(GetClassKeyword());
    else
        archive.CreateChild(GetClassKeyword());
    if (!GetTitle().empty())
        archive.Write("Name", GetTitle());
    SerializeBackground(archive);
    StoreElementList(archive);
}

void CSeqView::FillContextMenu(QMenu&) {}

bool CSeqView::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (Sequencer* sequencer = Sequencer::Current()) {
        if (Is(message, "WM_VIEW_SONG_EDITOR")) {
            sequencer->ShowSongEditor();
            return true;
        }
        if (Is(message, "WM_VIEW_SECTION_EDITOR")) {
            sequencer->ShowSectionEditor();
            return true;
        }
        if (Is(message, "WM_VIEW_PATTERN_EDITOR")) {
            sequencer->ShowPatternEditor(0);
            return true;
        }
        if (Is(message, "WM_VIEW_PARAMETER_EDITOR")) {
            sequencer->ShowPatternEditor(2);
            return true;
        }
    }
    static const std::pair<const char*, FrameCommand> kCommands[] = {
        {"WM_VIEW_MIXER", FrameCommand::ShowMixer}, {"WM_FILE_NEW", FrameCommand::New},
        {"WM_FILE_OPEN", FrameCommand::Open},       {"WM_FILE_SAVE", FrameCommand::Save},
        {"WM_FILE_QUIT", FrameCommand::Exit},       {"WM_FILE_HELP", FrameCommand::Help},
    };
    for (const auto& [name, command] : kCommands) {
        if (Is(message, name)) {
            emit frameCommand(command);
            return true;
        }
    }
    return SkinView::OnWindowMessage(message, wParam, lParam);
}

void CSeqView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(backgroundColour_));
    if (background_->HasBitmap())
        background_->Draw(painter);
    else if (Elements().empty())
        PaintEmptyView(painter);
}

void CSeqView::PaintEmptyView(QPainter& painter)
{
    // A view whose skin is missing still says what it is, rather than showing nothing at all.
    painter.setPen(QColor(230, 230, 230));
    painter.setFont(QFont("Tahoma", 16, QFont::Bold));
    const QRect titleRect(0, height() / 2 - 40, width(), 36);
    painter.drawText(titleRect, Qt::AlignCenter, QString::fromStdString(GetTitle()));
    painter.setPen(QColor(170, 170, 170));
    painter.setFont(QFont("Tahoma", 10));
    painter.drawText(QRect(20, titleRect.bottom() + 4, width() - 40, 60), Qt::AlignHCenter | Qt::TextWordWrap,
                     QString::fromStdString(EmptyViewHint()));
}

void CSeqView::ForwardKey(QKeyEvent* event)
{
    forwardingKey_ = true;
    for (UIElement* element : Elements()) {
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat(),
                       static_cast<ushort>(event->count()));
        QCoreApplication::sendEvent(element, &copy);
    }
    forwardingKey_ = false;
}

void CSeqView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (forwardingKey_)
        return;
    ForwardKey(event);
    KeyDown(event);
}

void CSeqView::KeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (SoundStudio* studio = SoundStudio::Current())
            studio->Transport("ID_PLAY");
    }
}

void CSeqView::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (!forwardingKey_)
        ForwardKey(event);
}

void CSeqView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    penDown_ = true;
    penDownAt_ = penNow_ = event->position().toPoint();
    tapHoldTimer_.start(static_cast<int>(Configuration().GetTapNHoldDelay()));
}

void CSeqView::mouseMoveEvent(QMouseEvent* event)
{
    if (penDown_)
        penNow_ = event->position().toPoint();
}

void CSeqView::mouseReleaseEvent(QMouseEvent*)
{
    penDown_ = false;
    tapHoldTimer_.stop();
}

void CSeqView::contextMenuEvent(QContextMenuEvent* event)
{
    event->setAccepted(ShowContextMenu(event->pos()));
}

void CSeqView::TapAndHoldElapsed()
{
    const QPoint moved = penNow_ - penDownAt_;
    if (!penDown_ || std::abs(moved.x()) >= UIElement::kTapHoldSlop || std::abs(moved.y()) >= UIElement::kTapHoldSlop)
        return;
    // The menu takes the pen: the release that follows belongs to it.
    penDown_ = false;
    ShowContextMenu(penDownAt_);
}

bool CSeqView::ShowContextMenu(const QPoint& point)
{
    QMenu menu(this);
    FillContextMenu(menu);
    if (menu.isEmpty())
        return false;
    menu.exec(mapToGlobal(point));
    return true;
}

} // namespace jorvo
