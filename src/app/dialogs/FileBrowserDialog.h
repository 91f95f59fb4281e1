#pragma once
// The modeless "Select File" browser: a tree of the folders and files below a root folder, with
// "&Refresh", "&OK" and "Cancel". The root is the sample folder when the start path lies inside it
// (or is empty or relative), otherwise the folder holding the start path; the start path is
// selected. OK or a double tap on a file posts WM_TREE_DLG_SEL_PATH to the requesting element,
// wParam pointing to the full path as NUL-terminated UTF-8 text that lives as long as the message
// is being handled, and hides the browser. A requester destroyed before that gets nothing.
// UI thread.
#include <string>

#include <QDialog>
#include <QPointer>

#include "platform/ShellRequests.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace jorvo {

class UIElement;

class FileBrowserDialog : public QDialog {
    Q_OBJECT
public:
    explicit FileBrowserDialog(QWidget* parent);

    // Points the browser at `request` (its requester must be a UIElement) and shows it.
    void Open(const FileBrowserRequest& request);
    // The folder at the top of the tree.
    const std::string& Root() const { return root_; }
    // The full path of the selected item; empty when none is selected.
    std::string SelectedPath() const;
    // Selects the item for `path`, opening the folders above it; false when it is not in the tree.
    bool SelectPath(const std::string& path);
    // Reads the tree again from the disk, keeping the selection where it still exists.
    void Rebuild();

private:
    void Fill(QTreeWidgetItem& folderItem);
    QTreeWidgetItem* AddItem(QTreeWidgetItem& parent, const std::string& name, bool isFolder);
    void ChooseSelected();
    void ItemActivated(QTreeWidgetItem* item);

    QTreeWidget* tree_;
    QPointer<UIElement> requester_;
    std::string root_;
    std::string mask_ = "*.*";
};

} // namespace jorvo
