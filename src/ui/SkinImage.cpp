#include "ui/SkinImage.h"

#include <memory>
#include <unordered_map>

#include <QFile>
#include <QImageReader>
#include <QPainter>

#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "ui/UIMessages.h"

namespace jorvo {

struct SkinImage::CachedBitmap {
    QImage image;
    QImage keyed; // the image with pure blue made transparent, made on first transparent draw
};

namespace {

using BitmapCache = std::unordered_map<std::string, std::unique_ptr<SkinImage::CachedBitmap>>;

constexpr std::size_t kCacheBuckets = 17;
constexpr int kMaxImageSide = 10000;
constexpr QRgb kTransparentKey = 0xFF0000FF; // red 0, green 0, blue 255

std::unique_ptr<BitmapCache>& Cache()
{
    static std::unique_ptr<BitmapCache> cache;
    return cache;
}

std::uint16_t& LiveImages()
{
    static std::uint16_t count = 0;
    return count;
}

// `folder` + "/" + `name`, without doubling a separator that `name` already starts with.
std::string InFolder(const std::string& folder, const std::string& name)
{
    if (!name.empty() && (name.front() == '/' || name.front() == '\\'))
        return folder + NormalizeSeparators(name);
    return folder + "/" + NormalizeSeparators(name);
}

QImage Decode(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&file);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxImageSide || size.height() > kMaxImageSide))
        return {};
    const QImage image = reader.read();
    if (image.isNull() || image.width() > kMaxImageSide || image.height() > kMaxImageSide)
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage KeyOutBlue(const QImage& image)
{
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if (line[x] == kTransparentKey)
                line[x] = 0;
    }
    return keyed;
}

} // namespace

SkinImage::SkinImage(std::string attribute) : attribute_(std::move(attribute))
{
    ++LiveImages();
}

SkinImage::~SkinImage()
{
    if (--LiveImages() == 0)
        Cache().reset();
}

int SkinImage::LiveCount()
{
    return LiveImages();
}

int SkinImage::CachedBitmapCount()
{
    return Cache() ? static_cast<int>(Cache()->size()) : 0;
}

void SkinImage::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        archive.Write(attribute_, file_);
        return;
    }
    std::string file;
    if (archive.Read(attribute_, file) && !file.empty())
        SetFile(file);
}

void SkinImage::SetFile(const std::string& file)
{
    if (file == file_)
        return;
    file_ = file;
    bitmap_ = nullptr;
    searched_ = false;
}

const QImage* SkinImage::Bitmap() const
{
    return bitmap_ && !bitmap_->image.isNull() ? &bitmap_->image : nullptr;
}

bool SkinImage::Load()
{
    if (file_.empty())
        return false;
    if (!Cache()) {
        Cache() = std::make_unique<BitmapCache>();
        Cache()->reserve(kCacheBuckets);
    }
    BitmapCache& cache = *Cache();
    if (const auto found = cache.find(folder_ + file_); found != cache.end()) {
        Attach(found->second.get());
        return HasBitmap();
    }
    if (searched_ || !FindFile())
        return false;
    const std::string key = folder_ + file_;
    auto [entry, inserted] = cache.try_emplace(key);
    if (inserted) {
        entry->second = std::make_unique<CachedBitmap>();
        entry->second->image = Decode(folder_.empty() ? NormalizeSeparators(file_) : InFolder(folder_, file_));
    }
    Attach(entry->second.get());
    return HasBitmap();
}

bool SkinImage::FindFile()
{
    searched_ = true;
    CConfiguration& config = Configuration();
    const std::string currentFolder = config.GetSkinFolder();
    const std::string skinsFolder = config.GetSkinsDir();
    if (FileExists(NormalizeSeparators(file_))) {
        folder_.clear();
        return true;
    }
    for (const std::string& folder : {NormalizeSeparators(folder_), currentFolder, skinsFolder}) {
        if (!folder.empty() && FileExists(InFolder(folder, file_))) {
            folder_ = folder;
            return true;
        }
    }
    Shell().MessageBox(FormatText(UIMessages::kImageNotFound, {file_, folder_, currentFolder, skinsFolder}));
    return false;
}

void SkinImage::Attach(CachedBitmap* cached)
{
    bitmap_ = cached;
    width_ = cached->image.width();
    height_ = cached->image.height();
    if (rect_.isEmpty())
        rect_ = QRect(rect_.topLeft(), QSize(width_, height_));
}

void SkinImage::Draw(QPainter& painter)
{
    DrawSlice(painter, 0, std::nullopt);
}

void SkinImage::DrawFrame(QPainter& painter, int sourceX, int sliceWidth)
{
    DrawSlice(painter, sourceX, sliceWidth);
}

void SkinImage::DrawSlice(QPainter& painter, int sourceX, std::optional<int> sliceWidth)
{
    if (!HasBitmap())
        Load();
    if (!HasBitmap()) {
        painter.fillRect(rect_, Qt::black);
        return;
    }
    if (painter.hasClipping() && !painter.clipBoundingRect().toAlignedRect().intersects(rect_))
        return;
    const QRect slice = QRect(sourceX, 0, sliceWidth.value_or(width_), height_).intersected(QRect(0, 0, width_, height_));
    if (slice.isEmpty())
        return;
    if (transparent_) {
        if (bitmap_->keyed.isNull())
            bitmap_->keyed = KeyOutBlue(bitmap_->image);
        painter.drawImage(rect_, bitmap_->keyed, slice);
    } else if (stretch_) {
        painter.drawImage(rect_, bitmap_->image, slice);
    } else {
        painter.drawImage(rect_.topLeft(), bitmap_->image, slice);
    }
}

} // namespace jorvo
