// The native document file: header and version check, the studio's binary form (sequencer, song,
// patterns, targets, mixer) and the view list, read through the document's own open procedure.
#include "FuzzSupport.h"

#include "app/JorvoDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    jorvo::fuzz::Prepare();
    const std::string path = jorvo::fuzz::WriteScratchFile("Fuzzed.jorvo", data, size);
    jorvo::CJorvoDoc document;
    document.OpenDocument(path);
    return 0;
}
