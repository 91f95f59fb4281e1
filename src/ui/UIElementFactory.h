#pragma once
// Creates skin elements by the class keyword written in their "Class" attribute. Keywords whose
// element is not built yet are listed without a maker and are skipped like unknown ones, so a
// skin naming them still loads the rest. UI thread only.
#include <memory>
#include <string>

class QWidget;

namespace jorvo {

class CXMLArchive;
class UIElement;

class UIElementFactory {
public:
    UIElementFactory() = delete;

    // A new element of the class for `keyword`, created with `parent`; null for a keyword that
    // is unknown or whose element is not built.
    static std::unique_ptr<UIElement> CreateElement(const std::string& keyword, QWidget* parent);
    // True when `keyword` names an element class, built or not.
    static bool IsKnownKeyword(const std::string& keyword);
    // Reads "Class" of the current element, creates that element and lets it load itself. Null
    // for an unknown class; an exception while loading is reported with its own text and the
    // half-made element is deleted (null).
    static std::unique_ptr<UIElement> LoadElement(CXMLArchive& archive, QWidget* parent);
    // Lets `element` store itself below the archive's current element.
    static void StoreElement(CXMLArchive& archive, UIElement& element);
};

} // namespace jorvo
