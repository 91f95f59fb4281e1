#pragma once
// A screen described by a skin: a widget owning an ordered list of skin elements, which it loads
// from and stores to the skin's XML and to which it broadcasts registered window messages. The
// application's views build on it. UI thread only.
#include <string>
#include <vector>

#include <QWidget>

#include "platform/WindowMessages.h"

namespace jorvo {

class CXMLArchive;
class UIElement;

class SkinView : public QWidget {
    Q_OBJECT
public:
    // An empty view inside `parent` (may be null).
    explicit SkinView(QWidget* parent = nullptr);
    // Deletes every element.
    ~SkinView() override;

    // The element name of the view in skins ("View" for the base).
    virtual std::string GetClassKeyword() const { return "View"; }
    // The view's title (empty by default).
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title);

    // The skin file of `name`: for class name "Instrument" or "Effect" whose engine is a loaded
    // plug-in, "<plug-in folder>/<name>.skin"; otherwise "<skins folder>/<name>/<name>.skin".
    static std::string SkinPath(const std::string& name, const std::string& className);
    // The sequencer skin, "<skins folder>/Sequencer/Sequencer.skin".
    static std::string SequencerSkinPath();

    // Finds the skin of `name` (see SkinPath), makes its folder the current skin folder and reads
    // the view from it. False, with the previous content kept, when the file is missing or cannot
    // be read.
    bool LoadSkin(const std::string& name, const std::string& className);
    // Reads the view from the `editor` child ("PatternEditor", …) of the sequencer skin, whose
    // `SeqEditorView` element describes it. False, content kept, when the file or child is missing.
    bool LoadSequencerSkin(const std::string& editor);

    // Loads: the current element should be named by the class keyword (otherwise the skin-file
    // error is shown and loading goes on); "Name" becomes the title; then the element list.
    // Stores: an element named by the class keyword with "Name" and the element list.
    virtual void SerializeXML(CXMLArchive& archive);
    // Replaces the elements with those of the current element's "UIElementList" child; elements
    // whose class is unknown or whose loading fails are left out.
    void LoadElementList(CXMLArchive& archive);
    // Writes a "UIElementList" child holding every element, in list order.
    void StoreElementList(CXMLArchive& archive);

    // Deletes every element.
    void ClearElements();
    // Appends `element` (made a child of this view) unless it is already listed.
    void AddElement(UIElement* element);
    const std::vector<UIElement*>& Elements() const { return elements_; }

    // Posts `message` to the view itself, then to every element in list order.
    void Broadcast(WindowMessage message, WParam wParam, LParam lParam);

signals:
    // The title changed through the skin or SetTitle (the main window refreshes its view list).
    void titleChanged();

protected:
    // A registered window message for the view. True when handled; the base handles none.
    virtual bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam);
    bool event(QEvent* event) override;

private:
    bool LoadSkinFile(const std::string& path, const std::string& editor);

    std::string title_;
    std::vector<UIElement*> elements_;
};

} // namespace jorvo
