#include "ui/SampleBrowser.h"

#include <deque>
#include <filesystem>

#include <QPainter>
#include <QTreeWidget>

#include "document/Configuration.h"
#include "platform/FolderScan.h"
#include "ui/ControlLook.h"

namespace jorvo {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;
constexpr int kFilledRole = Qt::UserRole + 2;

// The text a posted path points at. Kept for a while beyond the browser itself, since the
// message reaches its receivers later and the browser may be gone by then.
const char* KeepPostedPath(const std::string& path)
{
    constexpr std::size_t kKept = 16;
    static std::deque<std::string> kept;
    kept.push_back(path);
    if (kept.size() > kKept)
        kept.pop_front();
    return kept.back().c_str();
}

std::string PathOf(const QTreeWidgetItem* item)
{
    return item->data(0, kPathRole).toString().toStdString();
}

} // namespace

SampleBrowser::SampleBrowser(QWidget* parent) : UIMsgElement(parent), tree_(new QTreeWidget(this))
{
    tree_->setHeaderHidden(true);
    tree_->setFrameShape(QFrame::NoFrame);
    ControlLook::ApplyTo(*tree_);
    setFocusProxy(tree_);
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { Expand(item); });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { Selected(item); });
}

bool SampleBrowser::Create(int left, int top, int width, int height)
{
    tree_->setGeometry(0, 0, width, height);
    return UIMsgElement::Create(left, top, width, height);
}

void SampleBrowser::Draw(QPainter& painter)
{
    painter.fillRect(rect(), ControlLook::Groove());
}

void SampleBrowser::showEvent(QShowEvent* event)
{
    if (root_.empty())
        SetRootFolder({});
    UIMsgElement::showEvent(event);
}

void SampleBrowser::SetRootFolder(const std::string& folder)
{
    root_ = folder.empty() ? Configuration().GetSampleDir() : folder;
    selectedPath_.clear();
    tree_->clear();
    Fill(tree_->invisibleRootItem(), root_);
}

// One level: sub-folders (filled when opened) first, then the samples, each in name order.
void SampleBrowser::Fill(QTreeWidgetItem* folderItem, const std::string& folder)
{
    const std::filesystem::path base(folder);
    for (const std::string& name : ListSubFolders(folder)) {
        auto* item = new QTreeWidgetItem(folderItem, {QString::fromStdString(name)});
        item->setData(0, kPathRole, QString::fromStdString((base / name).string()));
        item->setData(0, kFolderRole, true);
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    for (const std::string& name : ListFiles(folder, kSampleMask)) {
        auto* item = new QTreeWidgetItem(folderItem, {QString::fromStdString(name)});
        item->setData(0, kPathRole, QString::fromStdString((base / name).string()));
    }
}

void SampleBrowser::Expand(QTreeWidgetItem* item)
{
    if (!item->data(0, kFolderRole).toBool() || item->data(0, kFilledRole).toBool())
        return;
    item->setData(0, kFilledRole, true);
    Fill(item, PathOf(item));
    if (item->childCount() == 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void SampleBrowser::Selected(QTreeWidgetItem* item)
{
    if (!item || item->data(0, kFolderRole).toBool())
        return;
    selectedPath_ = PathOf(item);
    Send(reinterpret_cast<WParam>(KeepPostedPath(selectedPath_)), 0);
}

} // namespace jorvo
