#include "app/JorvoDoc.h"

#include <cstring>
#include <exception>
#include <filesystem>
#include <sstream>

#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/Configuration.h"
#include "document/DocumentMessages.h"
#include "document/XMLArchive.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "sequencer/MidiFile.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(CJorvoDoc, PersistentObject, 0)

namespace {

constinit DocumentFrame* mainFrame = nullptr;
constinit DocumentFrame* currentFrame = nullptr;

constexpr std::size_t kHeaderLength = sizeof(CJorvoDoc::kFileHeader) - 1;
constexpr char kStudioElement[] = "Studio";
constexpr char kViewListElement[] = "ViewList";
constexpr char kVersionAttribute[] = "Version";
// The characters at which a title stops being usable as a file name.
constexpr char kTitleStops[] = "#%;/\\";

void ShowError(const char* format, const std::string& path, const char* caption = DocumentMessages::kJorvoCaption)
{
    Shell().MessageBox(FormatMessageText(format, path), caption, MessageButtons::Ok, MessageIcon::Error);
}

std::string FolderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

} // namespace

DocumentFrame* MainFrame()
{
    return mainFrame;
}

void SetMainFrame(DocumentFrame* frame)
{
    mainFrame = frame;
}

DocumentFrame* CurrentFrame()
{
    return currentFrame;
}

// StoredViewList ----------------------------------------------------------------------------------

void StoredViewList::Serialize(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        for (const View& view : views_) {
            archive.WriteString(view.keyword);
            archive.WriteString(view.element);
        }
        archive.WriteString(kEndMark);
        return;
    }
    // Every string takes at least one byte, so a list without its end mark runs into the end of
    // the file and raises there.
    std::vector<View> views;
    for (std::string keyword = archive.ReadString(); keyword != kEndMark; keyword = archive.ReadString())
        views.push_back(View{std::move(keyword), archive.ReadString()});
    views_ = std::move(views);
}

void StoredViewList::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        CXMLArchive list(archive);
        if (!list.CreateChild(kViewListElement))
            throw ArchiveException(ArchiveException::Cause::Generic, archive.GetPath());
        for (const View& view : views_)
            list.GetCurrentNode().AppendXmlText(view.element);
        return;
    }
    // The document positions the archive on "ViewList"; a file without one has no views.
    std::vector<View> views;
    if (archive.IsCurrent(kViewListElement)) {
        DomNodeList children = archive.GetCurrentNode().ChildNodes();
        for (DomNode view = children.NextNode(); view; view = children.NextNode()) {
            if (view.Type() == DomNodeType::Element)
                views.push_back(View{view.TagName(), view.OuterXml()});
        }
    }
    views_ = std::move(views);
}

// CJorvoDoc -----------------------------------------------------------------------------------------

CJorvoDoc::CJorvoDoc(StudioOutput output) : output_(output), title_(GetDocString(1)) {}

CJorvoDoc::~CJorvoDoc()
{
    CloseDocument();
}

bool CJorvoDoc::NewDocument()
{
    pathName_.clear();
    title_ = GetDocString(1);
    storedViews_.Clear();
    return CreateStudio();
}

bool CJorvoDoc::CreateStudio()
{
    frame_ = MainFrame();
    // One studio is current at a time: the old one goes before the new one exists.
    studio_.reset();
    currentFrame = frame_;
    try {
        studio_ = std::make_unique<SoundStudio>(output_);
    } catch (const std::exception&) {
        Shell().MessageBox(DocumentMessages::kCreateStudioFailed, DocumentMessages::kJorvoCaption, MessageButtons::Ok,
                           MessageIcon::Error);
        return false;
    }
    modified_ = true;
    return true;
}

void CJorvoDoc::DeleteContents()
{
    studio_.reset();
}

void CJorvoDoc::CloseDocument()
{
    DeleteContents();
    currentFrame = nullptr;
    frame_ = nullptr;
}

void CJorvoDoc::StartFresh()
{
    storedViews_.Clear();
    CreateStudio();
}

bool CJorvoDoc::OpenDocument(const std::string& path)
{
    try {
        std::unique_ptr<FileStream> file = FileStream::OpenForReading(path);
        BinaryArchive archive(*file, BinaryArchive::Mode::Load);
        Serialize(archive);
    } catch (const std::exception&) {
        DeleteContents();
        ShowError(DocumentMessages::kOpenFailed, path);
        StartFresh();
        return false;
    }
    SetPathName(path);
    modified_ = true;
    return true;
}

bool CJorvoDoc::SaveDocument(const std::string& path)
{
    try {
        std::unique_ptr<FileStream> file = FileStream::CreateForWriting(path);
        BinaryArchive archive(*file, BinaryArchive::Mode::Store);
        Serialize(archive);
        archive.Close();
        file->Commit();
    } catch (const std::exception&) {
        ShowError(DocumentMessages::kSaveFailed, path);
        return false;
    }
    SetPathName(path);
    modified_ = true;
    return true;
}

void CJorvoDoc::Serialize(BinaryArchive& archive)
{
    const std::string path = archive.Stream().Name();
    if (!path.empty())
        Configuration().SetDocumentFolder(FolderOf(path));
    if (archive.IsStoring()) {
        archive.WriteBytes(kFileHeader, kHeaderLength);
        archive.WriteInt8(kFileVersion);
    } else {
        if (CheckVersion(archive, path) == 0)
            throw ArchiveException(ArchiveException::Cause::BadSchema, path);
        if (!CreateStudio())
            throw ArchiveException(ArchiveException::Cause::Generic, path);
    }
    RequireStudio().Serialize(archive);
    Frame().Serialize(archive);
}

void CJorvoDoc::SerializeXML(CXMLArchive& archive)
{
    // Storing, each part creates its element below the root; loading, each reads from its element.
    CXMLArchive studioArchive(archive);
    if (archive.IsLoading())
        studioArchive.Descend(kStudioElement);
    RequireStudio().SerializeXML(studioArchive);
    CXMLArchive frameArchive(archive);
    if (archive.IsLoading())
        frameArchive.Descend(kViewListElement);
    Frame().SerializeXML(frameArchive);
}

int CJorvoDoc::CheckVersion(BinaryArchive& archive, const std::string& path)
{
    archive.Flush();
    ArchiveStream& stream = archive.Stream();
    const std::uint64_t start = stream.Position();
    char header[kHeaderLength + 1];
    std::size_t length = 0;
    while (length < sizeof(header)) {
        const std::size_t read = stream.Read(header + length, sizeof(header) - length);
        if (read == 0)
            break;
        length += read;
    }
    if (length < sizeof(header)) {
        ShowError(DocumentMessages::kErrorReadingFile, path);
        return 0;
    }
    int version = 1;
    if (std::memcmp(header, kFileHeader, kHeaderLength) == 0)
        version = static_cast<std::int8_t>(header[kHeaderLength]);
    else
        stream.Seek(start);
    if (version < 1) {
        ShowError(DocumentMessages::kErrorReadingFile, path);
        return 0;
    }
    if (version > kFileVersion) {
        ShowError(DocumentMessages::kNewerVersion, path, DocumentMessages::kIncorrectVersionCaption);
        return 0;
    }
    return version;
}

bool CJorvoDoc::ImportXML(const std::string& path)
{
    // Everything that can be checked without the studio is checked before it is replaced.
    CXMLArchive archive;
    std::string root;
    if (!archive.Open(this, path, CXMLArchive::kLoad) || !archive.GetRootName(root) || root != kXmlRoot) {
        ShowError(DocumentMessages::kOpenFailed, path);
        return false;
    }
    int version = 0;
    if (archive.Read(kVersionAttribute, version))
        archive.SetVersion(version);
    DeleteContents();
    try {
        if (!CreateStudio())
            throw ArchiveException(ArchiveException::Cause::Generic, path);
        Configuration().SetDocumentFolder(FolderOf(path));
        SerializeXML(archive);
    } catch (const std::exception&) {
        DeleteContents();
        ShowError(DocumentMessages::kOpenFailed, path);
        StartFresh();
        return false;
    }
    const std::filesystem::path source(path);
    SetPathName((source.parent_path() / source.stem()).string() + kExtension);
    modified_ = true;
    return true;
}

bool CJorvoDoc::ExportXML(const std::string& path)
{
    CXMLArchive archive;
    if (!archive.Open(this, path, CXMLArchive::kStore) || !archive.CreateRoot(kXmlRoot)) {
        ShowError(DocumentMessages::kSaveFailed, path);
        return false;
    }
    archive.Write(kVersionAttribute, static_cast<int>(kFileVersion));
    archive.SetVersion(kFileVersion);
    Configuration().SetDocumentFolder(FolderOf(path));
    try {
        SerializeXML(archive);
    } catch (const std::exception&) {
        ShowError(DocumentMessages::kSaveFailed, path);
        return false;
    }
    if (!archive.Save()) {
        ShowError(DocumentMessages::kSaveFailed, path);
        return false;
    }
    modified_ = true;
    return true;
}

bool CJorvoDoc::ExportMIDI(const std::string& path)
{
    try {
        MidiFile file(true);
        RequireStudio().ExportMIDI(file);
        file.WriteFile(path);
    } catch (const std::exception&) {
        ShowError(DocumentMessages::kSaveFailed, path);
        return false;
    }
    modified_ = true;
    return true;
}

std::string CJorvoDoc::GetDefaultPathName() const
{
    const std::string name = title_.substr(0, title_.find_first_of(kTitleStops)) + kExtension;
    return JoinPath(Configuration().GetDefaultDocDir(), name);
}

bool CJorvoDoc::RegisterDocumentType(SettingsStore& store, const std::string& programPath)
{
    const std::string type = GetDocString(5);
    const std::string quoted = "\"" + programPath + "\"";
    return store.WriteString(SettingsRoot::ClassesRoot, kExtension, "", type) &&
           store.WriteString(SettingsRoot::ClassesRoot, type + "\\shell\\open\\command", "", quoted + " \"%1\"") &&
           store.WriteString(SettingsRoot::ClassesRoot, type + "\\DefaultIcon", "", programPath + ",-1001");
}

std::string CJorvoDoc::GetDocString(int index)
{
    std::istringstream fields(DocumentMessages::kDocumentStrings);
    std::string field;
    for (int at = 0; std::getline(fields, field); ++at) {
        if (at == index)
            return field;
    }
    return {};
}

void CJorvoDoc::SetPathName(const std::string& path)
{
    pathName_ = path;
    title_ = std::filesystem::path(path).stem().string();
}

DocumentFrame& CJorvoDoc::Frame()
{
    if (frame_ != nullptr)
        return *frame_;
    return storedViews_;
}

SoundStudio& CJorvoDoc::RequireStudio()
{
    if (!studio_)
        throw ArchiveException(ArchiveException::Cause::Generic);
    return *studio_;
}

} // namespace jorvo
