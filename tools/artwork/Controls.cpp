#include "Controls.h"

#include <map>

#include "Palette.h"
#include "sequencer/ControllerNames.h"

namespace artwork {
namespace {

const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

// Stores the image under `folder` once and returns the reference a skin writes.
QString Store(Kit& kit, const ImageFolder& folder, const std::string& fileName, const QImage& image)
{
    kit.output.AddImage(folder.stored + "/" + fileName, image);
    return QString::fromStdString(folder.referencePrefix + fileName);
}

std::string SizeName(const char* stem, QSize size)
{
    return std::string(stem) + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ".png";
}

std::string Slug(const QString& text)
{
    std::string slug;
    for (QChar c : text)
        if (c.isLetterOrNumber())
            slug += c.toLatin1();
    return slug;
}

// The caption of a control: painted into the background, and into the mock-up with it.
void Caption(ViewSkin& view, const QRect& area, const QString& text)
{
    if (text.isEmpty())
        return;
    QPainter painter(&view.Background());
    DrawCaption(painter, area, text, colour::kCaption, 11, false);
}

// The picture of a state strip: frame `state` of `image`.
std::function<void(QPainter&, const QRect&)> FramePicture(QImage image, int frames, int state)
{
    return [image = std::move(image), frames, state](QPainter& painter, const QRect& area) {
        const int width = image.width() / frames;
        painter.drawImage(area.topLeft(), image.copy(state * width, 0, width, image.height()));
    };
}

} // namespace

QString EventName(std::uint16_t code)
{
    return QString::fromStdString(jorvo::ControllerName(code));
}

SkinElement& AddKnob(Kit& kit, ViewSkin& view, const ParamSpec& param, QPoint centre, int size, ElementGroup group)
{
    const QImage strip = KnobStrip(size, colour::kPlate);
    const QString image = Store(kit, kit.common, "Knob" + std::to_string(size) + ".png", strip);
    SkinElement element;
    element.name = param.element;
    element.keyword = QStringLiteral("Knob2");
    element.rect = QRect(centre.x() - size / 2, centre.y() - size / 2, size, size);
    element.Set(QStringLiteral("Event"), EventName(param.code));
    element.Set(QStringLiteral("Image"), image);
    element.Set(QStringLiteral("IndicatorClr"), SkinColour(colour::kAccent));
    element.picture = [strip, size, param](QPainter& painter, const QRect& area) {
        painter.drawImage(area.topLeft(),
                          KnobPicture(strip, size, param.value, param.minimum, param.maximum, colour::kAccent));
    };
    Caption(view, QRect(centre.x() - 45, element.rect.bottom() + 2, 90, 16), param.caption);
    return view.Add(std::move(element), group);
}

std::pair<QString, QString> FaderImages(Kit& kit, QSize size)
{
    const QSize capSize(size.width() - 6, 18);
    return {Store(kit, kit.common, SizeName("FaderTrack", size),
                  FaderTrack(size.width(), size.height(), capSize.height(), colour::kPlate)),
            Store(kit, kit.common, SizeName("FaderCap", capSize), FaderCap(capSize.width(), capSize.height()))};
}

SkinElement& AddFader(Kit& kit, ViewSkin& view, const ParamSpec& param, const QRect& area, ElementGroup group)
{
    const QSize capSize(area.width() - 6, 18);
    const QImage track = FaderTrack(area.width(), area.height(), capSize.height(), colour::kPlate);
    const QImage cap = FaderCap(capSize.width(), capSize.height());
    const auto [trackReference, capReference] = FaderImages(kit, area.size());
    SkinElement element;
    element.name = param.element;
    element.keyword = QStringLiteral("Fader");
    element.rect = area;
    element.Set(QStringLiteral("Event"), EventName(param.code));
    element.Set(QStringLiteral("BackgroundImage"), trackReference);
    element.Set(QStringLiteral("CaratImage"), capReference);
    element.Set(QStringLiteral("ResetOnMouseUp"), kFalse);
    element.Set(QStringLiteral("DefaultValue"), param.value);
    element.picture = [track, cap, param](QPainter& painter, const QRect& rect) {
        painter.drawImage(rect.topLeft(), track);
        const int travel = rect.height() - cap.height();
        const int y = travel - travel * (param.value - param.minimum) / std::max(1, param.maximum - param.minimum);
        painter.drawImage(rect.left() + (rect.width() - cap.width()) / 2, rect.top() + y, cap);
    };
    Caption(view, QRect(area.center().x() - 40, area.bottom() + 2, 80, 16), param.caption);
    return view.Add(std::move(element), group);
}

SkinElement& AddDrawBar(Kit& kit, ViewSkin& view, const ParamSpec& param, const QRect& area, const QRect& captionArea)
{
    const QSize thumbSize(12, area.height());
    const QImage track = SliderTrack(area.width(), area.height(), colour::kPlate);
    const QImage thumb = SliderThumb(thumbSize.width(), thumbSize.height());
    SkinElement element;
    element.name = param.element;
    element.keyword = QStringLiteral("DrawBar");
    element.rect = area;
    element.Set(QStringLiteral("Event"), EventName(param.code));
    element.Set(QStringLiteral("BackgroundImage"), Store(kit, kit.common, SizeName("SliderTrack", area.size()), track));
    element.Set(QStringLiteral("CaratImage"), Store(kit, kit.common, SizeName("SliderThumb", thumbSize), thumb));
    element.Set(QStringLiteral("CaratWidth"), thumbSize.width());
    element.Set(QStringLiteral("CaratHeight"), thumbSize.height());
    element.picture = [track, thumb, param](QPainter& painter, const QRect& rect) {
        painter.drawImage(rect.topLeft(), track);
        const int travel = rect.width() - thumb.width();
        const int x = travel * (param.value - param.minimum) / std::max(1, param.maximum - param.minimum);
        painter.drawImage(rect.left() + x, rect.top(), thumb);
    };
    QPainter painter(&view.Background());
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(colour::kCaption);
    painter.setFont(Font(11));
    painter.drawText(captionArea, Qt::AlignLeft | Qt::AlignVCenter, param.caption);
    return view.Add(std::move(element));
}

SkinElement& AddSwitch(Kit& kit, ViewSkin& view, const ParamSpec& param, const QRect& area,
                       const QStringList& labels, const std::vector<int>& values, const std::vector<QColor>& lamps,
                       ElementGroup group)
{
    const QImage strip = SwitchStrip(area.width(), area.height(), labels, lamps, colour::kPlate);
    SkinElement element;
    element.name = param.element;
    element.keyword = QStringLiteral("Button");
    element.rect = area;
    element.Set(QStringLiteral("Event"), EventName(param.code));
    element.Set(QStringLiteral("Image"), Store(kit, kit.own, Slug(param.element) + "Switch.png", strip));
    int shown = 0;
    for (int k = 0; k < static_cast<int>(values.size()); ++k) {
        element.states.push_back({k, {{QStringLiteral("Value"), values[k]}}});
        if (values[k] == param.value)
            shown = k;
    }
    element.picture = FramePicture(strip, static_cast<int>(labels.size()), shown);
    Caption(view, QRect(area.center().x() - 50, area.bottom() + 2, 100, 16), param.caption);
    return view.Add(std::move(element), group);
}

SkinElement& AddScroller(Kit& kit, ViewSkin& view, const ParamSpec& param, const QRect& area)
{
    const QSize buttonSize(26, area.height() / 2);
    const QImage well = TextWell(area.width(), area.height(), colour::kPlate);
    // Only the first frame of a push strip: the scroller draws its buttons as they are.
    const QImage up = PushStrip(buttonSize.width(), buttonSize.height(), QString(), Icon::Up, colour::kWell)
                          .copy(0, 0, buttonSize.width(), buttonSize.height());
    const QImage down = PushStrip(buttonSize.width(), buttonSize.height(), QString(), Icon::Down, colour::kWell)
                            .copy(0, 0, buttonSize.width(), buttonSize.height());
    SkinElement element;
    element.name = param.element;
    element.keyword = QStringLiteral("Scroller");
    element.rect = area;
    element.Set(QStringLiteral("Event"), EventName(param.code));
    element.Set(QStringLiteral("BackgroundImage"), Store(kit, kit.common, SizeName("Well", area.size()), well));
    element.Set(QStringLiteral("IncrementButtonImage"), Store(kit, kit.common, SizeName("StepUp", buttonSize), up));
    element.Set(QStringLiteral("DecrementButtonImage"),
                Store(kit, kit.common, SizeName("StepDown", buttonSize), down));
    element.Set(QStringLiteral("TextClr"), SkinColour(colour::kText));
    element.picture = [well, up, down, param](QPainter& painter, const QRect& rect) {
        painter.drawImage(rect.topLeft(), well);
        painter.drawImage(rect.right() + 1 - up.width(), rect.top(), up);
        painter.drawImage(rect.right() + 1 - down.width(), rect.bottom() + 1 - down.height(), down);
        DrawCaption(painter, rect.adjusted(0, 0, -up.width(), 0), QString::number(param.value), colour::kText, 15,
                    true);
    };
    Caption(view, QRect(area.center().x() - 50, area.bottom() + 2, 100, 16), param.caption);
    return view.Add(std::move(element));
}

StripImage PushImage(Kit& kit, const ImageFolder& folder, const std::string& fileName, QSize size, const QString& label,
                     Icon icon, const QColor& behind, int fontSize)
{
    QImage strip = PushStrip(size.width(), size.height(), label, icon, behind, fontSize);
    return {Store(kit, folder, fileName, strip), strip};
}

SkinElement& AddMsgButton(ViewSkin& view, const QString& name, const QRect& area, const QString& message,
                          const StripImage& image, bool submitOnPenUp, ElementGroup group)
{
    SkinElement element;
    element.name = name;
    element.keyword = QStringLiteral("MsgButton");
    element.rect = area;
    element.Set(QStringLiteral("Message"), message);
    element.Set(QStringLiteral("Image"), image.reference);
    element.Set(QStringLiteral("Latch"), kFalse);
    element.picture = FramePicture(image.image, 2, 0);
    element.Set(QStringLiteral("SubmitOnMouseUp"), submitOnPenUp ? kTrue : kFalse);
    element.states = {{0, {{QStringLiteral("Param1"), 0}, {QStringLiteral("Param2"), 0}}},
                      {1, {{QStringLiteral("Param1"), 0}, {QStringLiteral("Param2"), 0}}}};
    return view.Add(std::move(element), group);
}

void AddTransport(Kit& kit, ViewSkin& view, QPoint topLeft, QSize size, int gap, const QColor& behind)
{
    struct Command {
        const char* name;
        const char* message;
        Icon icon;
    };
    static const Command commands[] = {{"Rewind", "ID_REWIND", Icon::Rewind},
                                       {"Play", "ID_PLAY", Icon::Play},
                                       {"Stop", "ID_STOP", Icon::Stop},
                                       {"FastForward", "ID_FFORWARD", Icon::FastForward}};
    int x = topLeft.x();
    for (const Command& command : commands) {
        const StripImage image =
            PushImage(kit, kit.common, SizeName(command.name, size), size, QString(), command.icon, behind);
        SkinElement& element = AddMsgButton(view, QStringLiteral("Transport") + command.name,
                                            QRect(QPoint(x, topLeft.y()), size), command.message, image, true);
        element.keyword = QStringLiteral("TransportButton");
        x += size.width() + gap;
    }
}

SkinElement& AddFactory(Kit& kit, ViewSkin& view, const QString& keyword, const QString& name, const QRect& area,
                        const QString& label, Icon icon, const QColor& behind)
{
    const QImage strip = PushStrip(area.width(), area.height(), label, icon, behind, 11);
    SkinElement element;
    element.name = name;
    element.keyword = keyword;
    element.rect = area;
    element.Set(QStringLiteral("Image"), Store(kit, kit.common, Slug(keyword) + ".png", strip));
    element.Set(QStringLiteral("Latch"), kFalse);
    element.states = {{0, {{QStringLiteral("Param1"), 0}, {QStringLiteral("Param2"), 0}}},
                      {1, {{QStringLiteral("Param1"), 0}, {QStringLiteral("Param2"), 0}}}};
    element.picture = FramePicture(strip, 2, 0);
    return view.Add(std::move(element));
}

SkinElement& AddTextElement(Kit& kit, ViewSkin& view, const QString& keyword, const QString& name, const QRect& area,
                            const QString& text, const QColor& behind, ElementGroup group, int inset)
{
    const QImage well = TextWell(area.width(), area.height(), behind, inset);
    SkinElement element;
    element.name = name;
    element.keyword = keyword;
    element.rect = area;
    element.Set(QStringLiteral("BackgroundImage"), Store(kit, kit.common, SizeName(inset ? "InsetWell" : "Well", area.size()), well));
    if (keyword == QLatin1String("MsgLabel"))
        element.Set(QStringLiteral("DisplayText"), text);
    if (keyword == QLatin1String("MsgLabel") || keyword == QLatin1String("AudioFileNameLabel"))
        element.Set(QStringLiteral("TextClr"), SkinColour(colour::kText));
    element.picture = [well, text](QPainter& painter, const QRect& rect) {
        painter.drawImage(rect.topLeft(), well);
        DrawCaption(painter, rect, text, colour::kText, 12, true);
    };
    return view.Add(std::move(element), group);
}

SkinElement& AddPanelElement(ViewSkin& view, const QString& keyword, const QString& name, const QRect& area,
                             std::function<void(QPainter&, const QRect&)> preview)
{
    SkinElement element;
    element.name = name;
    element.keyword = keyword;
    element.rect = area;
    element.picture = std::move(preview);
    return view.Add(std::move(element));
}

} // namespace artwork
