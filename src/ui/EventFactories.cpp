#include "ui/EventFactories.h"

#include <algorithm>
#include <array>

#include "document/ArchiveException.h"
#include "document/DeepCopy.h"
#include "platform/ShellServices.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "ui/EventClipboard.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {
namespace {

// A note length offered by the note factory: numerator ÷ denominator quarter notes.
struct NoteLengthEntry {
    const char* label;
    int numerator;
    int denominator;
};

constexpr std::array<NoteLengthEntry, 16> kNoteLengths{{
    {"1/32", 1, 32}, {"1/16", 1, 16}, {"1/8", 1, 8}, {"1/4", 1, 4}, {"1/3", 1, 3}, {"1/2", 1, 2},
    {"2/3", 2, 3},   {"3/4", 3, 4},   {"1", 1, 1},   {"2", 2, 1},   {"3", 3, 1},   {"4", 4, 1},
    {"6", 6, 1},     {"8", 8, 1},     {"16", 16, 1}, {"32", 32, 1},
}};

constexpr std::array<int, 12> kVelocities{10, 20, 30, 40, 50, 64, 70, 80, 90, 100, 110, 127};

constexpr std::array<BarLength, 13> kBarLengths{{
    {1, 4}, {1, 3}, {1, 2}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {6, 1}, {8, 1}, {16, 1}, {32, 1}, {64, 1}, {128, 1},
}};

constexpr char kLengthMenu[] = "  Length";

std::uint32_t ScaledPulses(std::uint64_t unit, int numerator, int denominator)
{
    const std::uint64_t pulses = unit * static_cast<std::uint64_t>(numerator) / static_cast<std::uint64_t>(denominator);
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(pulses, 1, UINT32_MAX));
}

std::uint32_t NoteLengthPulses(const NoteLengthEntry& entry)
{
    return ScaledPulses(static_cast<std::uint64_t>(SequencerSettings::GetPulsesPerQuarterNote()), entry.numerator,
                        entry.denominator);
}

// Adds the "  Length" submenu of bar lengths, `current` checked, choosing through `choose`.
void AddBarLengthMenu(FactoryElement::Menu& menu, QMenu* submenu, const BarLength& current,
                      const std::function<void(BarLength)>& choose)
{
    for (const BarLength& length : kBarLengths)
        menu.Add(length.Label(), length == current, [choose, length] { choose(length); }, submenu);
}

} // namespace

std::uint32_t BarLength::Pulses() const
{
    return ScaledPulses(SequencerSettings::GetPulsesPerBar(), numerator, denominator);
}

QString BarLength::Label() const
{
    return denominator == 1 ? QString::number(numerator) : QStringLiteral("%1/%2").arg(numerator).arg(denominator);
}

// NoteFactory --------------------------------------------------------------------------------------

NoteFactory::NoteFactory(QWidget* parent)
    : FactoryElement(parent), length_(static_cast<std::uint32_t>(SequencerSettings::GetPulsesPerQuarterNote()))
{
}

bool NoteFactory::PutDragObject(WParam& wParam)
{
    SeqEventNote note;
    note.SetPitch(kDefaultPitch);
    note.SetVelocity(velocity_);
    note.SetLength(std::max<std::uint32_t>(length_, 1));
    wParam = 0;
    return EventClipboard::PutEvents({&note});
}

QString NoteFactory::PlainDetail() const
{
    QString length = QString::number(length_);
    for (const NoteLengthEntry& entry : kNoteLengths)
        if (NoteLengthPulses(entry) == length_)
            length = QString::fromLatin1(entry.label);
    return QStringLiteral("%1 \u00B7 v%2").arg(length).arg(velocity_);
}

bool NoteFactory::ShowFactoryMenu(const QPoint&)
{
    Menu menu(this);
    for (const NoteLengthEntry& entry : kNoteLengths) {
        const std::uint32_t pulses = NoteLengthPulses(entry);
        menu.Add(QString::fromLatin1(entry.label), pulses == length_, [this, pulses] { SetNoteLength(pulses); });
    }
    menu.AddSeparator();
    for (const int velocity : kVelocities)
        menu.Add(QString::number(velocity), velocity == velocity_,
                 [this, velocity] { SetVelocity(static_cast<std::uint8_t>(velocity)); });
    menu.Run(mapToGlobal(rect().center()));
    return true;
}

// PatternFactory -----------------------------------------------------------------------------------

PatternFactory::PatternFactory(QWidget* parent) : FactoryElement(parent) {}

PatternFactory::~PatternFactory() = default;

SeqEventPattern* PatternFactory::SequencerPattern(const void* candidate) const
{
    const Sequencer* sequencer = Sequencer::Current();
    if (!sequencer || !candidate)
        return nullptr;
    for (const auto& [name, pattern] : sequencer->Patterns())
        if (pattern.get() == candidate)
            return pattern.get();
    return nullptr;
}

void PatternFactory::SetTemplate(SeqEventPattern* pattern)
{
    if (!pattern)
        return;
    const bool inSequencer = SequencerPattern(pattern) != nullptr;
    std::unique_ptr<SeqEventPattern> copy;
    try {
        copy = DeepCopy(*pattern);
    } catch (const ArchiveException&) {
        if (!inSequencer)
            return; // nothing could be kept of it
    }
    templateInSequencer_ = inSequencer;
    templateName_ = pattern->GetName();
    templateCopy_ = std::move(copy);
    useTemplate_ = true;
    update();
}

SeqEventPattern* PatternFactory::TemplatePattern() const
{
    if (!useTemplate_)
        return nullptr;
    if (templateInSequencer_) {
        const Sequencer* sequencer = Sequencer::Current();
        if (SeqEventPattern* live = sequencer ? sequencer->FindPattern(templateName_) : nullptr)
            return live;
    }
    return templateCopy_.get();
}

bool PatternFactory::PutDragObject(WParam& wParam)
{
    if (SeqEventPattern* pattern = TemplatePattern()) {
        const bool live = templateInSequencer_ && pattern != templateCopy_.get();
        wParam = alias_ && live ? kAliasTemplate : kCopyTemplate;
        return EventClipboard::PutEvents({pattern});
    }
    SeqEventPattern empty;
    empty.SetLength(emptyLength_.Pulses());
    wParam = kNewPattern;
    return EventClipboard::PutEvents({&empty});
}

QString PatternFactory::PlainDetail() const
{
    if (const SeqEventPattern* pattern = TemplatePattern())
        return QString::fromStdString(pattern->GetName());
    return emptyLength_.Label() + QStringLiteral(" bar");
}

void PatternFactory::SelectTemplate()
{
    Sequencer* sequencer = Sequencer::Current();
    if (!sequencer)
        return;
    PickPatternRequest request;
    request.banks = &sequencer->GetPatternBankList();
    request.title = kTemplateDialogTitle;
    const std::optional<PatternPick> pick = Shell().PickPattern(request);
    if (!pick || !pick->pattern)
        return;
    SetTemplate(pick->pattern);
    if (pick->asAlias)
        alias_ = true;
}

bool PatternFactory::ShowFactoryMenu(const QPoint& point)
{
    Menu menu(this);
    menu.Add(QStringLiteral("Empty template"), !useTemplate_, [this] {
        useTemplate_ = false;
        update();
    });
    AddBarLengthMenu(menu, menu.AddSubmenu(kLengthMenu), emptyLength_, [this](BarLength length) { SetEmptyLength(length); });
    menu.Add(QStringLiteral("Select Template..."), false, [this] { SelectTemplate(); });
    menu.Add(QStringLiteral("  Alias"), alias_, [this] { alias_ = !alias_; });
    menu.Run(mapToGlobal(point));
    return true;
}

bool PatternFactory::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    static const WindowMessage setTemplate = RegisterWindowMessage(UIWindowMessages::kSetPatternFactoryTemplate);
    if (message != setTemplate)
        return FactoryElement::OnWindowMessage(message, wParam, lParam);
    // Only a pattern the sequencer still holds is taken: the message may arrive late.
    SetTemplate(SequencerPattern(reinterpret_cast<const void*>(wParam)));
    return true;
}

// SectionFactory -----------------------------------------------------------------------------------

SectionFactory::SectionFactory(QWidget* parent) : FactoryElement(parent) {}

bool SectionFactory::PutDragObject(WParam& wParam)
{
    SeqEventSection section;
    section.SetLength(length_.Pulses());
    wParam = 0;
    return EventClipboard::PutEvents({&section});
}

bool SectionFactory::ShowFactoryMenu(const QPoint& point)
{
    Menu menu(this);
    AddBarLengthMenu(menu, menu.AddSubmenu(kLengthMenu), length_, [this](BarLength length) { SetSectionLength(length); });
    menu.Run(mapToGlobal(point));
    return true;
}

} // namespace jorvo
