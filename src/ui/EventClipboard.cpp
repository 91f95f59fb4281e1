#include "ui/EventClipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "sequencer/SeqEvent.h"

namespace jorvo::EventClipboard {

bool Put(const std::vector<SeqEvent*>& events)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    try {
        MemoryStream memory;
        BinaryArchive archive(memory, BinaryArchive::Mode::Store);
        archive.WriteObjectList(events);
        archive.Close();
        auto data = std::make_unique<QMimeData>();
        const auto& bytes = memory.Bytes();
        data->setData(kFormat, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
        clipboard->setMimeData(data.release());
        return true;
    } catch (const ArchiveException&) {
        return false;
    }
}

std::vector<std::unique_ptr<SeqEvent>> Take()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasFormat(kFormat))
        return {};
    const QByteArray bytes = data->data(kFormat);
    try {
        MemoryStream memory(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        BinaryArchive archive(memory, BinaryArchive::Mode::Load);
        std::vector<std::unique_ptr<SeqEvent>> events = archive.ReadObjectList<SeqEvent>();
        std::erase(events, nullptr);
        return events;
    } catch (const ArchiveException&) {
        return {};
    }
}

} // namespace jorvo::EventClipboard
