#include "installhelper/PresetMerger.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <pugixml.hpp>
#include <sstream>

#include "installhelper/InstallHelperMessages.h"
#include "platform/AtomicFileWriter.h"
#include "platform/TextFormat.h"

namespace jorvo::installhelper {
namespace {

// Element and attribute names of the preset file.
constexpr char kPresetFileElement[] = "PresetFile";
constexpr char kNameAttribute[] = "Name";

// Bank and preset look-ups. Names are passed as XPath variables, never pasted into the
// expression, so a name holding a quote selects exactly what it says.
constexpr char kSourceBanksPath[] = "./PresetFile/PresetList";
constexpr char kNamedBankPath[] = "./PresetList[@Name = $name]";
constexpr char kDefaultBankPath[] = "./PresetList[not(@Name)]";
constexpr char kPresetsPath[] = "./*";
constexpr char kNamedPresetPath[] = "./*[@Name = $name]";

struct TextPosition {
    int line = 1;
    int column = 1;
};

// Line and column (in characters, counting from 1) of byte `offset` of `text`.
TextPosition PositionOf(const std::string& text, std::size_t offset)
{
    TextPosition position;
    for (std::size_t index = 0; index < offset && index < text.size(); ++index) {
        const unsigned char byte = static_cast<unsigned char>(text[index]);
        if (byte == '\n') {
            ++position.line;
            position.column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++position.column;
        }
    }
    return position;
}

bool LoadPresetDocument(const std::string& path, pugi::xml_document& document, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    std::string text;
    if (file)
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file && !file.eof()) {
        error = FormatText(kPresetLoadFailed, {std::strerror(errno), path});
        return false;
    }
    const pugi::xml_parse_result result = document.load_buffer(text.data(), text.size());
    if (result.status == pugi::status_out_of_memory) {
        error = kCreatePresetDocument;
        return false;
    }
    if (!result) {
        const TextPosition position = PositionOf(text, static_cast<std::size_t>(result.offset));
        error = FormatText(kPresetParseError, {result.description(), std::to_string(position.line),
                                               std::to_string(position.column)});
        return false;
    }
    return true;
}

pugi::xpath_node_set SelectByName(const pugi::xml_node& parent, const char* path, const char* name)
{
    pugi::xpath_variable_set variables;
    variables.set("name", name);
    const pugi::xpath_query query(path, &variables);
    return query.evaluate_node_set(parent);
}

// Replaces, in `bank`, every preset named like a preset of `sourceBank` by that preset.
bool MergeIntoBank(const pugi::xml_node& sourceBank, pugi::xml_node bank)
{
    for (const pugi::xpath_node& selected : sourceBank.select_nodes(kPresetsPath)) {
        const pugi::xml_node preset = selected.node();
        const pugi::xml_attribute name = preset.attribute(kNameAttribute);
        if (!name)
            continue;
        for (const pugi::xpath_node& old : SelectByName(bank, kNamedPresetPath, name.value()))
            bank.remove_child(old.node());
        if (!bank.append_copy(preset))
            return false;
    }
    return true;
}

bool MergeBank(const pugi::xml_node& sourceBank, pugi::xml_node destinationRoot)
{
    const char* bankName = sourceBank.attribute(kNameAttribute).value();
    const pugi::xpath_node_set banks = bankName[0] == '\0'
                                           ? destinationRoot.select_nodes(kDefaultBankPath)
                                           : SelectByName(destinationRoot, kNamedBankPath, bankName);
    if (banks.empty())
        return static_cast<bool>(destinationRoot.append_copy(sourceBank));
    for (const pugi::xpath_node& bank : banks) {
        if (!MergeIntoBank(sourceBank, bank.node()))
            return false;
    }
    return true;
}

// MergeBank, where running out of memory part-way through also counts as a failed append.
bool TryMergeBank(const pugi::xml_node& sourceBank, pugi::xml_node destinationRoot)
{
    try {
        return MergeBank(sourceBank, destinationRoot);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const pugi::xpath_exception&) {
        return false;
    }
}

// Writes `document` over `path` only once it is complete.
bool SaveDocument(const pugi::xml_document& document, const std::string& path)
{
    std::ostringstream text;
    document.save(text, "\t");
    const std::string bytes = text.str();
    AtomicFileWriter writer(path);
    return writer.Open() && writer.Write(bytes.data(), bytes.size()) && writer.Commit();
}

bool MergeDocuments(const std::string& source, const std::string& destination, std::string& error)
{
    pugi::xml_document sourceDocument;
    pugi::xml_document destinationDocument;
    if (!LoadPresetDocument(source, sourceDocument, error) ||
        !LoadPresetDocument(destination, destinationDocument, error))
        return false;
    pugi::xml_node destinationRoot = destinationDocument.child(kPresetFileElement);
    if (!destinationRoot) {
        error = kNoDestinationRoot;
        return false;
    }
    const pugi::xpath_node_set sourceBanks = sourceDocument.select_nodes(kSourceBanksPath);
    if (sourceBanks.empty()) {
        error = kNoPresets;
        return false;
    }
    for (const pugi::xpath_node& bank : sourceBanks) {
        if (!TryMergeBank(bank.node(), destinationRoot)) {
            error = kAppendFailed;
            return false;
        }
    }
    if (!SaveDocument(destinationDocument, destination)) {
        error = FormatText(kSaveFailed, {destination});
        return false;
    }
    return true;
}

} // namespace

bool MergePresetFiles(const std::string& source, const std::string& destination, std::string& error)
{
    try {
        return MergeDocuments(source, destination, error);
    } catch (const std::bad_alloc&) {
        error = kCreatePresetDocument;
    } catch (const pugi::xpath_exception&) {
        error = kAppendFailed;
    }
    return false;
}

} // namespace jorvo::installhelper
