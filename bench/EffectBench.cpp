// Every built-in effect, including both reverbs, processing a noisy signal.
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "engine/Effect.h"
#include "engine/EventCodes.h"
#include "engine/SeqEventTargetFactory.h"

namespace jorvo::bench {
namespace {

void Process(benchmark::State& state, const std::string& engine)
{
    const std::unique_ptr<Effect> effect = SeqEventTargetFactory::CreateEffect(engine);
    if (!effect) {
        state.SkipWithError("the effect cannot be created");
        return;
    }
    effect->HandleEvent(kEventStopReset, 0, 0, 0, 0);
    const std::vector<std::int32_t> input = TestSignal(static_cast<std::size_t>(effect->InputChannels()) * kChunkFrames);
    for (auto _ : state) {
        effect->PrepareChunk();
        effect->Process(input.data(), kChunkFrames);
        benchmark::DoNotOptimize(effect->Output()[0]);
    }
    ReportPerFrame(state);
}

BENCHMARK_CAPTURE(Process, Chorus, std::string("Chorus"));
BENCHMARK_CAPTURE(Process, Delay, std::string("Delay"));
BENCHMARK_CAPTURE(Process, Distortion, std::string("Distortion"));
BENCHMARK_CAPTURE(Process, Flanger, std::string("Flanger"));
BENCHMARK_CAPTURE(Process, Reverb, std::string("Reverb"));
BENCHMARK_CAPTURE(Process, ReverbLite, std::string("Reverb Lite"));

} // namespace
} // namespace jorvo::bench
