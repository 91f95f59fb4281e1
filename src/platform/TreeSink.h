#pragma once
// A tree the core fills without knowing the widget that shows it: parameter trees of targets,
// event trees of patterns. The user interface implements it over its tree control; tests record.
#include <string>

namespace jorvo {

class TreeSink {
public:
    using ItemId = int;
    // The parent of top-level items.
    static constexpr ItemId Root = -1;

    virtual ~TreeSink() = default;

    // Appends an item under `parent` (last position) and returns its id. `data` is the object the
    // item stands for (a parameter record, an event), or null; it is handed back on selection.
    virtual ItemId InsertItem(ItemId parent, const std::string& label, int image, int selectedImage,
                              void* data) = 0;
};

} // namespace jorvo
