#include "ui/EventClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "sequencer/SeqEvent.h"

namespace jorvo::EventClipboard {

QString MimeType(const char* format)
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(QString::fromLatin1(format));
}

bool PutBytes(const char* format, const std::vector<std::uint8_t>& bytes)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    auto* data = new QMimeData;
    data->setData(MimeType(format),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    clipboard->setMimeData(data); // the clipboard owns it
    return true;
}

std::optional<std::vector<std::uint8_t>> ReadBytes(const char* format)
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasFormat(MimeType(format)))
        return std::nullopt;
    const QByteArray bytes = data->data(MimeType(format));
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> EncodeEvents(const std::vector<SeqEvent*>& events)
{
    MemoryStream memory;
    BinaryArchive archive(memory, BinaryArchive::Mode::Store);
    archive.WriteObjectList(events);
    archive.Close();
    return memory.Bytes();
}

std::vector<std::unique_ptr<SeqEvent>> DecodeEvents(const std::vector<std::uint8_t>& bytes)
{
    try {
        MemoryStream memory(bytes);
        BinaryArchive archive(memory, BinaryArchive::Mode::Load);
        std::vector<std::unique_ptr<SeqEvent>> events = archive.ReadObjectList<SeqEvent>();
        std::erase(events, nullptr);
        return events;
    } catch (const ArchiveException&) {
        return {};
    }
}

bool PutEvents(const std::vector<SeqEvent*>& events)
{
    return PutBytes(kSeqEventListFormat, EncodeEvents(events));
}

std::vector<std::unique_ptr<SeqEvent>> ReadEvents()
{
    const std::optional<std::vector<std::uint8_t>> bytes = ReadBytes(kSeqEventListFormat);
    return bytes ? DecodeEvents(*bytes) : std::vector<std::unique_ptr<SeqEvent>>{};
}

} // namespace jorvo::EventClipboard
