#include "app/frame/ViewListArchive.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "app/frame/CSeqView.h"
#include "document/ArchiveException.h"
#include "document/DomDocument.h"
#include "document/XMLArchive.h"

namespace jorvo {

namespace {

constexpr char kViewList[] = "ViewList";

// A temporary file removed with the object.
class TemporaryFile {
public:
    TemporaryFile()
    {
        static std::atomic<int> counter{0};
        path_ = (std::filesystem::temp_directory_path() /
                 ("jorvo-views-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".xml"))
                    .string();
    }
    ~TemporaryFile()
    {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// True when `element` is one well-formed element (a damaged one is left out, as an unknown view
// would be).
bool IsWellFormed(const std::string& element)
{
    DomDocument document;
    return document.LoadBuffer(element.data(), element.size()) && document.DocumentElement();
}

} // namespace

std::vector<StoredViewList::View> DescribeViews(const std::vector<CSeqView*>& views)
{
    // The archives share one document; with none open, storing starts a fresh one.
    CXMLArchive archive;
    if (!archive.Open(nullptr, std::string(), CXMLArchive::kStore) || !archive.CreateRoot(kViewList))
        throw ArchiveException(ArchiveException::Cause::Generic);
    for (CSeqView* view : views) {
        CXMLArchive viewArchive(archive);
        view->SerializeXML(viewArchive);
    }
    std::vector<StoredViewList::View> described;
    DomNodeList children = archive.GetCurrentNode().ChildNodes();
    for (DomNode child = children.NextNode(); child; child = children.NextNode())
        if (child.Type() == DomNodeType::Element)
            described.push_back(StoredViewList::View{child.TagName(), child.OuterXml()});
    return described;
}

void ReadViewList(const std::vector<StoredViewList::View>& views, const std::function<void(CXMLArchive&)>& read)
{
    // A loading archive reads a file into the shared document, which must not be in use.
    if (CXMLArchive::LiveCount() > 0)
        throw ArchiveException(ArchiveException::Cause::Generic);
    TemporaryFile file;
    {
        std::ofstream out(file.Path(), std::ios::binary);
        out << "<" << kViewList << ">";
        for (const StoredViewList::View& view : views)
            if (IsWellFormed(view.element))
                out << view.element;
        out << "</" << kViewList << ">";
        if (!out)
            throw ArchiveException(ArchiveException::Cause::Generic, file.Path());
    }
    CXMLArchive archive;
    if (!archive.Open(nullptr, file.Path(), CXMLArchive::kLoad))
        throw ArchiveException(ArchiveException::Cause::Generic, file.Path());
    read(archive);
}

} // namespace jorvo
