#include "ui/MsgSeqTree.h"

#include <QDialog>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>

#include "platform/TreeSink.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/Sequencer.h"
#include "ui/ControlLook.h"

namespace jorvo {
namespace {

constexpr int kEventRole = Qt::UserRole;

SeqEvent* EventOf(const QTreeWidgetItem* item)
{
    return static_cast<SeqEvent*>(item->data(0, kEventRole).value<void*>());
}

// A small coloured tile per event kind: song, section, pattern.
QIcon KindIcon(int kind)
{
    QColor colour = ControlLook::Accent();
    if (kind == kSeqEventSection)
        colour = QColor(0x64, 0x3C, 0xC4);
    else if (kind == kSeqEventPattern)
        colour = QColor(0x85, 0xC2, 0xC2);
    QPixmap tile(12, 12);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.setPen(QColor(0x1A, 0x1C, 0x20));
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 11, 11), 2, 2);
    return QIcon(tile);
}

// Fills the tree widget with song material; notes and controller events are left out.
class SeqTreeSink : public TreeSink {
public:
    explicit SeqTreeSink(QTreeWidget& tree) : tree_(tree) {}

    ItemId InsertItem(ItemId parent, const std::string& label, int image, int, void* data) override
    {
        if (image > kSeqEventPattern || (parent != Root && !Valid(parent)))
            return static_cast<ItemId>(items_.size() + kSkipped);
        auto* item = parent == Root ? new QTreeWidgetItem(&tree_) : new QTreeWidgetItem(items_[static_cast<std::size_t>(parent)]);
        item->setText(0, QString::fromStdString(label));
        item->setIcon(0, KindIcon(image));
        item->setData(0, kEventRole, QVariant::fromValue(data));
        items_.push_back(item);
        return static_cast<ItemId>(items_.size() - 1);
    }

private:
    static constexpr int kSkipped = 1 << 24; // ids of left-out items, never valid parents
    bool Valid(ItemId id) const { return id >= 0 && static_cast<std::size_t>(id) < items_.size(); }

    QTreeWidget& tree_;
    std::vector<QTreeWidgetItem*> items_;
};

} // namespace

MsgSeqTree::MsgSeqTree(QWidget* parent) : MsgLabel(parent), tree_(new QTreeWidget(this))
{
    tree_->setHeaderHidden(true);
    tree_->setFrameShape(QFrame::NoFrame);
    ControlLook::ApplyTo(*tree_);
    setFocusProxy(tree_);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { Choose(item); });
}

bool MsgSeqTree::Create(int left, int top, int width, int height)
{
    tree_->setGeometry(0, 0, width, height);
    return MsgLabel::Create(left, top, width, height);
}

void MsgSeqTree::Draw(QPainter& painter)
{
    painter.fillRect(rect(), ControlLook::Groove());
}

void MsgSeqTree::showEvent(QShowEvent* event)
{
    Rebuild();
    MsgLabel::showEvent(event);
}

void MsgSeqTree::Rebuild()
{
    tree_->clear();
    selection_ = nullptr;
    const Sequencer* sequencer = Sequencer::Current();
    if (!sequencer || !sequencer->GetSong())
        return;
    SeqTreeSink sink(*tree_);
    const TreeSink::ItemId song = sink.InsertItem(TreeSink::Root, sequencer->GetSong()->GetName(), kSeqEventSong,
                                                  kSeqEventSong, sequencer->GetSong());
    for (const auto& [name, section] : sequencer->Sections())
        section->AddToTree(sink, song);
    tree_->expandToDepth(0);
}

void MsgSeqTree::Choose(QTreeWidgetItem* item)
{
    if (!item)
        return;
    if (item->parent() && EventOf(item) && EventOf(item)->GetType() == kSeqEventPattern)
        item = item->parent(); // a pattern stands for the section it is placed in
    tree_->setCurrentItem(item);
    selection_ = EventOf(item);
    for (QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget())
        if (auto* dialog = qobject_cast<QDialog*>(ancestor)) {
            dialog->accept();
            return;
        }
}

} // namespace jorvo
