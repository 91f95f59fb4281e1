// XML document import: the whole studio as XML, read through the document's own import.
#include "FuzzSupport.h"

#include "app/JorvoDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    jorvo::fuzz::Prepare();
    const std::string path = jorvo::fuzz::WriteScratchFile("Fuzzed.xml", data, size);
    jorvo::CJorvoDoc document;
    document.ImportXML(path);
    return 0;
}
