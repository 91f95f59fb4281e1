#include "app/frame/CJorvoView.h"

#include "document/Configuration.h"

namespace jorvo {

CJorvoView::CJorvoView(QWidget* parent) : CSeqView(parent)
{
    SetTitle("Jorvo");
    hasSkin_ = LoadSkin(kSkinName, GetClassKeyword());
    if (!hasSkin_)
        SetBackgroundImage(Configuration().GetString(kJorvoImageSetting, std::string(kJorvoImageDefault)));
}

} // namespace jorvo
