#pragma once
// The screen of one instrument or effect: the skin named by the target's engine name, every
// element bound to the target, the target's name as title, and a context menu to delete, rename
// and load or save presets. UI thread only.
#include "app/frame/CSeqView.h"

namespace jorvo {

class SeqEventTarget;

class CTargetView : public CSeqView {
    Q_OBJECT
public:
    // When `target` differs from the bound one: deletes every element and binds it; a target's
    // skin (class name "Instrument" or "Effect") is loaded and every element bound to it. False
    // when the target has no skin (the view stays empty) or `target` is null.
    bool SetTarget(SeqEventTarget* target);
    SeqEventTarget* GetTarget() const { return target_; }
    // Forgets the target, which is about to be destroyed: every element is unbound at once (the
    // elements themselves stay until the view goes).
    void Detach();
    void* ShownTarget() const override { return target_; }
    // The title follows the target's name.
    void RefreshFromTarget() override;

    // With a bound target the view is stored as its element with "Name" and a "Target" child
    // ("Name", "Class"), and rebinds to that target on load; otherwise as any view.
    void SerializeXML(CXMLArchive& archive) override;

    // Names the skin that was not found.
    std::string EmptyViewHint() const override;

    // Delete, Load Preset..., Save Preset..., Rename.
    void FillContextMenu(QMenu& menu) override;

protected:
    CTargetView(QWidget* parent, std::string defaultTitle);
    // "Instrument" or "Effect": where skins are looked for and what the target is called.
    virtual std::string Category() const = 0;
    // The text of the delete command.
    virtual const char* DeleteText() const = 0;
    // Asks the studio to delete the target.
    virtual void DeleteTarget() = 0;

private:
    void Rename();

    SeqEventTarget* target_ = nullptr;
    std::string defaultTitle_;
};

class CInstrumentView : public CTargetView {
    Q_OBJECT
public:
    explicit CInstrumentView(QWidget* parent = nullptr);
    std::string GetClassKeyword() const override { return "InstrumentView"; }

protected:
    std::string Category() const override { return "Instrument"; }
    const char* DeleteText() const override;
    void DeleteTarget() override;
};

class CEffectView : public CTargetView {
    Q_OBJECT
public:
    explicit CEffectView(QWidget* parent = nullptr);
    std::string GetClassKeyword() const override { return "EffectView"; }

protected:
    std::string Category() const override { return "Effect"; }
    const char* DeleteText() const override;
    void DeleteTarget() override;
};

} // namespace jorvo
