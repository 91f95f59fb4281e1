#pragma once
// One bitmap that an element draws, named in the skin by one attribute (`Image`,
// `BackgroundImage`, `CaratImage`, …). Decoded bitmaps are shared through a process-wide cache
// keyed by folder + file name; the cache lives while at least one SkinImage exists and is freed
// with the last one. UI thread only.
#include <cstdint>
#include <optional>
#include <string>

#include <QImage>
#include <QRect>

class QPainter;

namespace jorvo {

class CXMLArchive;

class SkinImage {
public:
    // An image read from and written to attribute `attribute`; no file, empty rectangle.
    explicit SkinImage(std::string attribute = "Image");
    // Frees every cached bitmap when this was the last image alive.
    ~SkinImage();
    SkinImage(const SkinImage&) = delete;
    SkinImage& operator=(const SkinImage&) = delete;

    // Reads or writes the file name in the image's attribute; on load an empty or missing
    // attribute leaves the file name unchanged.
    void SerializeXML(CXMLArchive& archive);

    // Attaches the bitmap, from the cache or by searching and decoding the file. False when the
    // file name is empty, the file is found nowhere (message 19017, shown once per file name) or
    // it cannot be decoded (no message).
    bool Load();
    // Draws the whole bitmap into the rectangle (see SetStretch, SetTransparent); a black
    // rectangle when there is no bitmap.
    void Draw(QPainter& painter);
    // Draws the slice of width `sliceWidth` starting at `sourceX` (one state of a strip of
    // frames laid side by side); a black rectangle when there is no bitmap.
    void DrawFrame(QPainter& painter, int sourceX, int sliceWidth);

    // The decoded bitmap shared with other images of the same file, or null.
    const QImage* Bitmap() const;
    bool HasBitmap() const { return Bitmap() != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    const QRect& Rect() const { return rect_; }
    void SetRect(const QRect& rect) { rect_ = rect; }
    void SetStretch(bool stretch) { stretch_ = stretch; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    const std::string& Attribute() const { return attribute_; }
    const std::string& File() const { return file_; }
    // Names a new file: the bitmap is detached and the next Load searches again.
    void SetFile(const std::string& file);
    // The folder in which the file was found (or is suggested to be).
    const std::string& Folder() const { return folder_; }
    void SetFolder(const std::string& folder) { folder_ = folder; }

    // The number of SkinImage objects alive.
    static int LiveCount();
    // The number of bitmaps in the cache (0 when there is no cache).
    static int CachedBitmapCount();

    // One entry of the bitmap cache (defined with the cache).
    struct CachedBitmap;

private:

    bool FindFile();
    void Attach(CachedBitmap* cached);
    void DrawSlice(QPainter& painter, int sourceX, std::optional<int> sliceWidth);

    CachedBitmap* bitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    QRect rect_;
    bool stretch_ = false;
    bool transparent_ = false;
    bool searched_ = false; // a failed search is reported once, not on every repaint
    std::string attribute_;
    std::string file_;
    std::string folder_;
};

} // namespace jorvo
