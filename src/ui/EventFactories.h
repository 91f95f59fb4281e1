#pragma once
// The factories of song material: `NoteFactory` (a note of the chosen length and velocity, for
// the pattern editor), `PatternFactory` (an empty pattern of the chosen length, or the template
// pattern, for the section editor) and `SectionFactory` (an empty section of the chosen length,
// for the song editor). Their context menus choose what they make. UI thread only.
#include <cstdint>
#include <memory>
#include <string>

#include "ui/FactoryElement.h"

namespace jorvo {

class SeqEventPattern;

// A length in bars as the "  Length" menus offer it: numerator ÷ denominator bars.
struct BarLength {
    int numerator = 1;
    int denominator = 1;
    // Pulses at the sequencer's current beats per bar and resolution (at least 1).
    std::uint32_t Pulses() const;
    QString Label() const;
    bool operator==(const BarLength&) const = default;
};

class NoteFactory : public FactoryElement {
    Q_OBJECT
public:
    static constexpr std::uint8_t kDefaultVelocity = 100;
    static constexpr std::uint8_t kDefaultPitch = 60;

    explicit NoteFactory(QWidget* parent);

    std::string GetClassName() const override { return "NoteFactory"; }

    std::uint32_t NoteLength() const { return length_; }
    std::uint8_t Velocity() const { return velocity_; }
    void SetNoteLength(std::uint32_t pulses) { length_ = pulses; update(); }
    void SetVelocity(std::uint8_t velocity) { velocity_ = velocity; update(); }

protected:
    bool PutDragObject(WParam& wParam) override;
    const char* FedEditorClass() const override { return "PatternEditor"; }
    QString PlainTitle() const override { return QStringLiteral("Note"); }
    QString PlainDetail() const override;
    // The "Length" and "Velocity" entries in one popup at the element's centre.
    bool ShowFactoryMenu(const QPoint& point) override;

private:
    std::uint32_t length_;
    std::uint8_t velocity_ = kDefaultVelocity;
};

class PatternFactory : public FactoryElement {
    Q_OBJECT
public:
    // The begin-drag wParam: a new pattern, the template as an alias, or a copy of the template.
    enum DragKind : WParam { kNewPattern = 0, kAliasTemplate = 1, kCopyTemplate = 2 };
    static constexpr char kTemplateDialogTitle[] = "Select Pattern Factory Template";

    explicit PatternFactory(QWidget* parent);
    ~PatternFactory() override;

    std::string GetClassName() const override { return "PatternFactory"; }

    // Makes `pattern` the template and puts templates in use. A pattern of the current sequencer
    // is followed by name (later edits are dragged too); any other is kept as a copy.
    void SetTemplate(SeqEventPattern* pattern);
    // The pattern a drag would carry as template, or null when templates are not in use.
    SeqEventPattern* TemplatePattern() const;
    bool UsesTemplate() const { return useTemplate_; }
    bool DropsAsAlias() const { return alias_; }
    const BarLength& EmptyLength() const { return emptyLength_; }
    void SetEmptyLength(BarLength length) { emptyLength_ = length; update(); }

protected:
    bool PutDragObject(WParam& wParam) override;
    const char* FedEditorClass() const override { return "SectionEditor"; }
    QString PlainTitle() const override { return QStringLiteral("Pattern"); }
    QString PlainDetail() const override;
    // "Empty template", "  Length", "Select Template...", "  Alias".
    bool ShowFactoryMenu(const QPoint& point) override;
    // WM_SET_PATTERN_FACTORY_TEMPLATE: the sequencer's pattern in wParam becomes the template.
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

private:
    void SelectTemplate();
    SeqEventPattern* SequencerPattern(const void* candidate) const;

    bool useTemplate_ = false;
    bool alias_ = false;
    bool templateInSequencer_ = false;
    std::string templateName_;
    std::unique_ptr<SeqEventPattern> templateCopy_;
    BarLength emptyLength_;
};

class SectionFactory : public FactoryElement {
    Q_OBJECT
public:
    explicit SectionFactory(QWidget* parent);

    std::string GetClassName() const override { return "SectionFactory"; }

    const BarLength& SectionLength() const { return length_; }
    void SetSectionLength(BarLength length) { length_ = length; update(); }

protected:
    bool PutDragObject(WParam& wParam) override;
    const char* FedEditorClass() const override { return "SongEditor"; }
    QString PlainTitle() const override { return QStringLiteral("Section"); }
    QString PlainDetail() const override { return length_.Label() + QStringLiteral(" bar"); }
    // The "  Length" entries.
    bool ShowFactoryMenu(const QPoint& point) override;

private:
    BarLength length_{4, 1};
};

} // namespace jorvo
