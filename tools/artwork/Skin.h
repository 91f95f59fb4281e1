#pragma once
// The model the generator fills for each view: a background picture, the elements in their
// lists, and the images they name; written out as a skin file whose positions and image names
// come from the same code that drew the pictures. A mock-up renders what the view will look like
// (background plus every element's picture) for a person to check.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QXmlStreamWriter>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace artwork {

// Every file the generator writes, held until the end so that nothing half-made reaches the
// repository. Paths are relative to the output root with "/" separators.
class Output {
public:
    // Records `image` as a PNG at `path`. The same path may be added again only with the same image.
    void AddImage(const std::string& path, const QImage& image);
    // Records a text file.
    void AddText(const std::string& path, const QString& text);
    // Writes every file below `root`; false (with the failing path on stderr) when one cannot be
    // written.
    bool WriteAll(const std::filesystem::path& root) const;

private:
    std::map<std::string, QImage> images_;
    std::map<std::string, QString> texts_;
};

// Where a view's own images live: stored at `stored` + "/" + name in the output, named in skins as
// `referencePrefix` + name (empty prefix: beside the skin file).
struct ImageFolder {
    std::string stored;
    std::string referencePrefix;
};

// The shared control images: stored in skins/Common, found through the skins folder.
ImageFolder CommonImages();

// One element description of a skin.
struct SkinElement {
    struct State {
        int index = 0;
        // "Value" for parameter buttons; "Param1"/"Param2" for message buttons and factories.
        std::vector<std::pair<QString, int>> values;
    };

    QString name;
    QString keyword;
    QRect rect;
    std::vector<std::pair<QString, QString>> attributes;
    std::vector<State> states;
    // "Target" child: name and class of the bound target.
    std::optional<std::pair<QString, QString>> target;
    // Nested element descriptions (an editor's popup).
    std::vector<SkinElement> children;
    // Draws the element's artwork into the mock-up at `rect`; null draws a labelled outline.
    std::function<void(QPainter&, const QRect&)> picture;

    // Sets an attribute, replacing one of the same name.
    SkinElement& Set(const QString& attribute, const QString& value);
    SkinElement& Set(const QString& attribute, int value);
    // Writes the element and its children.
    void Write(QXmlStreamWriter& xml) const;
};

// The element lists a view description can hold.
enum class ElementGroup { Main, ChannelStrip, Send, MasterStrip };

class ViewSkin {
public:
    // A view with class keyword `keyword` and title `title` (empty: no "Name").
    ViewSkin(QString keyword, QString title);

    QString Keyword() const { return keyword_; }
    // The background picture, 480 × 640, to paint on.
    QImage& Background() { return background_; }
    // Stores the background picture under `folder` as `fileName` and names it in the skin.
    void StoreBackground(Output& output, const ImageFolder& folder, const std::string& fileName);
    // A view attribute (besides "Name" and "BackgroundImage").
    void SetAttribute(const QString& name, const QString& value);

    // Adds `element` to `group`; the name must be new in the view.
    SkinElement& Add(SkinElement element, ElementGroup group = ElementGroup::Main);
    const std::vector<SkinElement>& Elements(ElementGroup group) const;

    // Writes the view description element.
    void Write(QXmlStreamWriter& xml) const;
    // The whole skin file of a named view (root = the view element).
    QString SkinFileText() const;
    // The background with every element's picture on it; strip and send templates drawn where
    // the skin puts them.
    QImage Mockup() const;

private:
    void WriteList(QXmlStreamWriter& xml, ElementGroup group) const;

    QString keyword_;
    QString title_;
    QString backgroundReference_;
    std::vector<std::pair<QString, QString>> attributes_;
    QImage background_;
    std::map<ElementGroup, std::vector<SkinElement>> groups_;
};

// Starts an XML document in `text` with the writer's formatting.
void BeginDocument(QXmlStreamWriter& xml);

} // namespace artwork
