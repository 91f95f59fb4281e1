#include "app/frame/CSeqEditorView.h"

#include <cctype>

namespace jorvo {

std::string NameInWords(const std::string& camelCase)
{
    std::string words;
    for (const char c : camelCase) {
        if (std::isupper(static_cast<unsigned char>(c)) && !words.empty())
            words += ' ';
        words += c;
    }
    return words;
}

CSeqEditorView::CSeqEditorView(QWidget* parent) : CSeqView(parent) {}

bool CSeqEditorView::Build(const std::string& skinSection)
{
    SetTitle(NameInWords(skinSection));
    return LoadSequencerSkin(skinSection);
}

} // namespace jorvo
