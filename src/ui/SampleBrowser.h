#pragma once
// `SampleBrowser`: a folder-and-file tree of the sample folder embedded in a skin, filling the
// element and taking the focus with it. Selecting a sample file posts the element's message with
// a pointer to the file's full path (NUL-terminated UTF-8 text, kept valid for the next 16
// selections, whether or not the browser still exists) as wParam and 0 as lParam. Folders are read when first opened.
// UI thread only.
#include <string>

#include "ui/UIMsgElement.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace jorvo {

class SampleBrowser : public UIMsgElement {
    Q_OBJECT
public:
    // The files the browser lists.
    static constexpr char kSampleMask[] = "*.wav";

    explicit SampleBrowser(QWidget* parent);

    std::string GetClassName() const override { return "SampleBrowser"; }
    bool Create(int left, int top, int width, int height) override;
    void Draw(QPainter& painter) override;

    // Lists `folder` (the sample folder when empty) again from the top.
    void SetRootFolder(const std::string& folder);
    const std::string& RootFolder() const { return root_; }
    // The path of the file selected last, empty when none.
    const std::string& SelectedPath() const { return selectedPath_; }
    QTreeWidget& Tree() { return *tree_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill(QTreeWidgetItem* folderItem, const std::string& folder);
    void Expand(QTreeWidgetItem* item);
    void Selected(QTreeWidgetItem* item);

    QTreeWidget* tree_;
    std::string root_;
    std::string selectedPath_;
};

} // namespace jorvo
