#pragma once
// The main view, shown when nothing else is: the "Jorvo" skin, or when that is missing the
// picture named by the "JorvoImage" setting. UI thread only.
#include "app/frame/CSeqView.h"

namespace jorvo {

class CJorvoView : public CSeqView {
    Q_OBJECT
public:
    // The skin name of the main view.
    static constexpr char kSkinName[] = "Jorvo";

    // Loads the main view's skin (or the fallback picture) at once.
    explicit CJorvoView(QWidget* parent = nullptr);

    std::string GetClassKeyword() const override { return "JorvoView"; }

    // True when the skin was found and read; false when the fallback picture is shown.
    bool HasSkin() const { return hasSkin_; }

private:
    bool hasSkin_ = false;
};

} // namespace jorvo
