#include "ui/SelectParameterDialog.h"

#include <vector>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/SeqEventTarget.h"
#include "platform/TreeSink.h"

namespace jorvo {

namespace {

constexpr int kParameterRole = Qt::UserRole;

// The target's tree as tree widget items.
class TreeWidgetSink : public TreeSink {
public:
    explicit TreeWidgetSink(QTreeWidget& tree) : tree_(tree) {}

    ItemId InsertItem(ItemId parent, const std::string& label, int, int, void* data) override
    {
        const QStringList text(QString::fromStdString(label));
        QTreeWidgetItem* item = parent >= 0 && static_cast<std::size_t>(parent) < items_.size()
                                    ? new QTreeWidgetItem(items_[static_cast<std::size_t>(parent)], text)
                                    : new QTreeWidgetItem(&tree_, text);
        item->setData(0, kParameterRole, QVariant::fromValue(data));
        items_.push_back(item);
        return static_cast<ItemId>(items_.size() - 1);
    }

private:
    QTreeWidget& tree_;
    std::vector<QTreeWidgetItem*> items_;
};

} // namespace

SelectParameterDialog::SelectParameterDialog(SeqEventTarget& target, QWidget* parent)
    : QDialog(parent), tree_(new QTreeWidget(this))
{
    setWindowTitle(QStringLiteral("Select Parameter"));
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    tree_->setObjectName(QStringLiteral("tree"));
    tree_->setHeaderHidden(true);
    TreeWidgetSink sink(*tree_);
    target.FillParameterTree(sink);
    tree_->expandAll();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);

    // A click or Enter chooses; moving through the tree with the arrow keys does not.
    connect(tree_, &QTreeWidget::itemClicked, this, &SelectParameterDialog::ItemChosen);
    connect(tree_, &QTreeWidget::itemActivated, this, &SelectParameterDialog::ItemChosen);
    setMaximumSize(480, 640);
    resize(320, 440);
}

void SelectParameterDialog::ItemChosen(QTreeWidgetItem* item)
{
    void* parameter = item ? item->data(0, kParameterRole).value<void*>() : nullptr;
    if (!parameter)
        return;
    chosen_ = static_cast<SeqParameter*>(parameter);
    accept();
}

SeqParameter* SelectParameterDialog::Run(SeqEventTarget& target, QWidget* parent)
{
    SelectParameterDialog dialog(target, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Chosen() : nullptr;
}

} // namespace jorvo
