#pragma once
// The view list's two stored forms. XML: a "ViewList" element holding each view's element, as
// the view's SerializeXML writes it. Binary: per view its keyword and that element as text, then
// "EndOfViewList" (see StoredViewList). The binary form is read back by turning the texts into a
// "ViewList" element again, so both forms are restored by the same code. UI thread only.
#include <functional>
#include <vector>

#include "app/JorvoDoc.h"

namespace jorvo {

class CSeqView;
class CXMLArchive;

// Each view's element as its SerializeXML writes it, in list order. Raises ArchiveException when
// no XML document can be prepared (another archive holds the shared one).
std::vector<StoredViewList::View> DescribeViews(const std::vector<CSeqView*>& views);

// Runs `read` with a loading archive positioned on a "ViewList" element holding `views`' elements
// (a damaged element is left out). Raises ArchiveException when that cannot be prepared.
void ReadViewList(const std::vector<StoredViewList::View>& views, const std::function<void(CXMLArchive&)>& read);

} // namespace jorvo
