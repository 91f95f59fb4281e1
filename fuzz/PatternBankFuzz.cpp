// Pattern-bank files: attaching and reading a bank, looking its patterns up, and (for a bank read
// completely) adding a pattern and saving, which rewrites the file around its other content, then
// reading it again.
#include "FuzzSupport.h"

#include <memory>
#include <string>
#include <vector>

#include "sequencer/PatternBank.h"
#include "sequencer/SeqEventPattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace jorvo;
    fuzz::Prepare();
    const std::string path = fuzz::WriteScratchFile("Banks/Fuzzed.PatternBank", data, size);
    PatternBank bank;
    if (!bank.AttachFile(path) || !bank.LoadPatterns())
        return 0;
    std::vector<SeqEventPattern*> patterns;
    bank.FillList(patterns);
    for (SeqEventPattern* pattern : patterns)
        bank.FindPattern(pattern->GetName());
    auto added = std::make_unique<SeqEventPattern>();
    added->SetName("Added by the fuzzer");
    if (bank.AddPattern(added) && bank.SavePatterns())
        bank.LoadPatterns();
    return 0;
}
