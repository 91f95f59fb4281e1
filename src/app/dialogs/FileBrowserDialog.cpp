#include "app/dialogs/FileBrowserDialog.h"

#include <algorithm>
#include <filesystem>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/dialogs/DialogSupport.h"
#include "document/Configuration.h"
#include "platform/FolderScan.h"
#include "ui/UIElement.h"
#include "ui/UIWindowMessages.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {

namespace fs = std::filesystem;

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;
constexpr int kFilledRole = Qt::UserRole + 2;

// The chosen path, constructed before the event that points to it and freed with it, so the
// text outlives every use the receiver makes of the message.
struct PathText {
    std::string text;
};

class SelectedPathEvent : private PathText, public WindowMessageEvent {
public:
    explicit SelectedPathEvent(std::string path)
        : PathText{std::move(path)},
          WindowMessageEvent(RegisterWindowMessage(UIWindowMessages::kTreeDlgSelPath),
                             reinterpret_cast<WParam>(PathText::text.c_str()), 0)
    {
    }
};

bool IsInside(const fs::path& path, const fs::path& folder)
{
    const auto [folderEnd, pathAt] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return folderEnd == folder.end();
}

// `path` without "." and ".." parts and without a trailing separator, so that paths compare by
// their parts.
fs::path Normal(const fs::path& path)
{
    fs::path normal = path.lexically_normal();
    if (!normal.has_filename() && normal != normal.root_path())
        normal = normal.parent_path();
    return normal;
}

// The folder the tree starts from for `startPath`.
fs::path RootFor(const std::string& startPath)
{
    const fs::path samples = Normal(Configuration().GetSampleDir());
    if (startPath.empty() || fs::path(startPath).is_relative())
        return samples;
    const fs::path start = Normal(startPath);
    if (IsInside(start, samples))
        return samples;
    std::error_code error;
    return fs::is_directory(start, error) ? start : start.parent_path();
}

std::string PathOf(const QTreeWidgetItem* item)
{
    return item ? ToStdString(item->data(0, kPathRole).toString()) : std::string();
}

bool IsFolder(const QTreeWidgetItem* item)
{
    return item && item->data(0, kFolderRole).toBool();
}

} // namespace

FileBrowserDialog::FileBrowserDialog(QWidget* parent) : QDialog(parent), tree_(new QTreeWidget(this))
{
    tree_->setObjectName(QStringLiteral("tree"));
    tree_->setHeaderHidden(true);
    tree_->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);

    auto* box = new QDialogButtonBox(this);
    auto* refresh = box->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);
    box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(refresh, &QPushButton::clicked, this, &FileBrowserDialog::Rebuild);
    connect(box, &QDialogButtonBox::accepted, this, &FileBrowserDialog::ChooseSelected);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::hide);
    layout->addWidget(box);

    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { Fill(*item); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, &FileBrowserDialog::ItemActivated);
    setModal(false);
    PrepareDialog(*this, "Select File", kScreenWidth);
    resize(width(), 560);
}

void FileBrowserDialog::Open(const FileBrowserRequest& request)
{
    requester_ = static_cast<UIElement*>(const_cast<void*>(request.requester));
    mask_ = request.mask.empty() ? "*.*" : request.mask;
    setWindowTitle(ToQString(request.title));
    root_ = RootFor(request.startPath).string();
    Rebuild();
    if (!request.startPath.empty()) {
        const fs::path start(request.startPath);
        SelectPath((start.is_relative() ? fs::path(root_) / start : start).string());
    }
    show();
    raise();
    activateWindow();
}

void FileBrowserDialog::Rebuild()
{
    const std::string selected = SelectedPath();
    tree_->clear();
    auto* top = new QTreeWidgetItem(tree_, QStringList(ToQString(root_)));
    top->setData(0, kPathRole, ToQString(root_));
    top->setData(0, kFolderRole, true);
    top->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    top->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    top->setExpanded(true);
    Fill(*top);
    if (selected.empty() || !SelectPath(selected))
        tree_->setCurrentItem(top);
}

void FileBrowserDialog::Fill(QTreeWidgetItem& folderItem)
{
    if (folderItem.data(0, kFilledRole).toBool())
        return;
    folderItem.setData(0, kFilledRole, true);
    const std::string folder = PathOf(&folderItem);
    for (const std::string& name : ListSubFolders(folder))
        AddItem(folderItem, name, true);
    for (const std::string& name : ListFiles(folder, mask_))
        AddItem(folderItem, name, false);
    folderItem.setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* FileBrowserDialog::AddItem(QTreeWidgetItem& parent, const std::string& name, bool isFolder)
{
    auto* item = new QTreeWidgetItem(&parent, QStringList(ToQString(name)));
    item->setData(0, kPathRole, ToQString((fs::path(PathOf(&parent)) / name).string()));
    item->setData(0, kFolderRole, isFolder);
    item->setIcon(0, style()->standardIcon(isFolder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon));
    if (isFolder)
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

bool FileBrowserDialog::SelectPath(const std::string& path)
{
    const fs::path target = Normal(path);
    const fs::path root = Normal(root_);
    if (!IsInside(target, root) || tree_->topLevelItemCount() == 0)
        return false;
    QTreeWidgetItem* item = tree_->topLevelItem(0);
    for (const fs::path& part : target.lexically_relative(root)) {
        if (part == ".")
            continue;
        Fill(*item);
        item->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == ToQString(part.string()))
                next = item->child(i);
        if (!next)
            return false;
        item = next;
    }
    tree_->setCurrentItem(item);
    tree_->scrollToItem(item);
    return true;
}

std::string FileBrowserDialog::SelectedPath() const
{
    return PathOf(tree_->currentItem());
}

void FileBrowserDialog::ItemActivated(QTreeWidgetItem* item)
{
    if (item && !IsFolder(item)) {
        tree_->setCurrentItem(item);
        ChooseSelected();
    }
}

void FileBrowserDialog::ChooseSelected()
{
    QTreeWidgetItem* item = tree_->currentItem();
    if (!item)
        return;
    if (IsFolder(item)) {
        item->setExpanded(!item->isExpanded());
        return;
    }
    if (requester_)
        QCoreApplication::postEvent(requester_.data(), new SelectedPathEvent(PathOf(item)));
    hide();
}

} // namespace jorvo
