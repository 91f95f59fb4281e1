#include "Skin.h"

#include <QSaveFile>
#include <cstdio>
#include <stdexcept>

#include "Palette.h"
#include "Widgets.h"

namespace artwork {

void Output::AddImage(const std::string& path, const QImage& image)
{
    auto [entry, inserted] = images_.try_emplace(path, image);
    if (!inserted && entry->second != image)
        throw std::logic_error("two different images for " + path);
}

void Output::AddText(const std::string& path, const QString& text)
{
    if (!texts_.try_emplace(path, text).second)
        throw std::logic_error("two files at " + path);
}

bool Output::WriteAll(const std::filesystem::path& root) const
{
    const auto prepare = [&](const std::string& path) {
        const std::filesystem::path file = root / path;
        std::filesystem::create_directories(file.parent_path());
        return QString::fromStdString(file.string());
    };
    for (const auto& [path, image] : images_) {
        QSaveFile file(prepare(path));
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG", 9) || !file.commit()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    for (const auto& [path, text] : texts_) {
        QSaveFile file(prepare(path));
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

ImageFolder CommonImages()
{
    return {"skins/Common", "Common/"};
}

SkinElement& SkinElement::Set(const QString& attribute, const QString& value)
{
    for (auto& [name, existing] : attributes)
        if (name == attribute) {
            existing = value;
            return *this;
        }
    attributes.emplace_back(attribute, value);
    return *this;
}

SkinElement& SkinElement::Set(const QString& attribute, int value)
{
    return Set(attribute, QString::number(value));
}

void SkinElement::Write(QXmlStreamWriter& xml) const
{
    xml.writeStartElement(name);
    xml.writeAttribute(QStringLiteral("Class"), keyword);
    xml.writeAttribute(QStringLiteral("Left"), QString::number(rect.left()));
    xml.writeAttribute(QStringLiteral("Top"), QString::number(rect.top()));
    xml.writeAttribute(QStringLiteral("Width"), QString::number(rect.width()));
    xml.writeAttribute(QStringLiteral("Height"), QString::number(rect.height()));
    for (const auto& [attribute, value] : attributes)
        xml.writeAttribute(attribute, value);
    for (const State& state : states) {
        xml.writeStartElement(QStringLiteral("State"));
        xml.writeAttribute(QStringLiteral("Index"), QString::number(state.index));
        for (const auto& [valueName, value] : state.values)
            xml.writeAttribute(valueName, QString::number(value));
        xml.writeEndElement();
    }
    if (target) {
        xml.writeStartElement(QStringLiteral("Target"));
        xml.writeAttribute(QStringLiteral("Name"), target->first);
        xml.writeAttribute(QStringLiteral("Class"), target->second);
        xml.writeEndElement();
    }
    for (const SkinElement& child : children)
        child.Write(xml);
    xml.writeEndElement();
}

ViewSkin::ViewSkin(QString keyword, QString title)
    : keyword_(std::move(keyword)), title_(std::move(title)), background_(kViewWidth, kViewHeight, QImage::Format_RGB32)
{
    background_.fill(colour::kBackground);
}

void ViewSkin::StoreBackground(Output& output, const ImageFolder& folder, const std::string& fileName)
{
    output.AddImage(folder.stored + "/" + fileName, background_);
    backgroundReference_ = QString::fromStdString(folder.referencePrefix + fileName);
}

void ViewSkin::SetAttribute(const QString& name, const QString& value)
{
    attributes_.emplace_back(name, value);
}

SkinElement& ViewSkin::Add(SkinElement element, ElementGroup group)
{
    for (const auto& [listGroup, list] : groups_)
        for (const SkinElement& existing : list)
            if (existing.name == element.name)
                throw std::logic_error("element name used twice: " + element.name.toStdString());
    std::vector<SkinElement>& list = groups_[group];
    list.push_back(std::move(element));
    return list.back();
}

const std::vector<SkinElement>& ViewSkin::Elements(ElementGroup group) const
{
    static const std::vector<SkinElement> none;
    const auto found = groups_.find(group);
    return found == groups_.end() ? none : found->second;
}

void ViewSkin::WriteList(QXmlStreamWriter& xml, ElementGroup group) const
{
    xml.writeStartElement(QStringLiteral("UIElementList"));
    for (const SkinElement& element : Elements(group))
        element.Write(xml);
    xml.writeEndElement();
}

void ViewSkin::Write(QXmlStreamWriter& xml) const
{
    xml.writeStartElement(keyword_);
    if (!title_.isEmpty())
        xml.writeAttribute(QStringLiteral("Name"), title_);
    if (!backgroundReference_.isEmpty())
        xml.writeAttribute(QStringLiteral("BackgroundImage"), backgroundReference_);
    for (const auto& [name, value] : attributes_)
        xml.writeAttribute(name, value);
    WriteList(xml, ElementGroup::Main);
    if (!Elements(ElementGroup::ChannelStrip).empty()) {
        xml.writeStartElement(QStringLiteral("ChannelStrip"));
        WriteList(xml, ElementGroup::ChannelStrip);
        xml.writeStartElement(QStringLiteral("Send"));
        WriteList(xml, ElementGroup::Send);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    if (!Elements(ElementGroup::MasterStrip).empty()) {
        xml.writeStartElement(QStringLiteral("MasterStrip"));
        WriteList(xml, ElementGroup::MasterStrip);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void BeginDocument(QXmlStreamWriter& xml)
{
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
}

QString ViewSkin::SkinFileText() const
{
    QString text;
    QXmlStreamWriter xml(&text);
    BeginDocument(xml);
    Write(xml);
    xml.writeEndDocument();
    return text;
}

QImage ViewSkin::Mockup() const
{
    QImage mockup = background_.convertToFormat(QImage::Format_ARGB32);
    QPainter painter(&mockup);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (ElementGroup group : {ElementGroup::Main, ElementGroup::ChannelStrip, ElementGroup::Send,
                               ElementGroup::MasterStrip}) {
        for (const SkinElement& element : Elements(group)) {
            if (element.picture) {
                painter.save();
                element.picture(painter, element.rect);
                painter.restore();
                continue;
            }
            painter.setPen(QPen(colour::kTeal, 1, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(element.rect).adjusted(0.5, 0.5, -0.5, -0.5));
            DrawCaption(painter, element.rect, element.keyword, colour::kTeal, 11);
        }
    }
    return mockup;
}

} // namespace artwork
