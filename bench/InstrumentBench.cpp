// The synthesised instruments, one held note each.
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "engine/EventCodes.h"
#include "engine/Instrument.h"
#include "engine/SeqEventTargetFactory.h"

namespace jorvo::bench {
namespace {

// A note far longer than any run of the benchmark.
constexpr std::int32_t kHeldPulses = 1 << 30;

void HeldNote(benchmark::State& state, const std::string& engine)
{
    const std::unique_ptr<Instrument> instrument = SeqEventTargetFactory::CreateInstrument(engine);
    if (!instrument) {
        state.SkipWithError("the instrument cannot be created");
        return;
    }
    instrument->HandleEvent(kEventStopReset, 0, 0, 0, 0);
    instrument->HandleEvent(kEventNoteStart, 57, 100, kHeldPulses, 0);
    for (auto _ : state) {
        instrument->BeginChunk(kChunkFrames);
        instrument->Render(kChunkFrames);
        benchmark::DoNotOptimize(instrument->Output()[0]);
    }
    ReportPerFrame(state);
}

BENCHMARK_CAPTURE(HeldNote, DefaultInstrument, std::string("DefaultInstrument"));
BENCHMARK_CAPTURE(HeldNote, mSyn, std::string("mSyn"));

} // namespace
} // namespace jorvo::bench
