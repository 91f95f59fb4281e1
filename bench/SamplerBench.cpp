// The sampler at 1, 8 and 32 voices: each voice a held note on its own zone, all zones playing
// one looped mono sample at pitches around its root, so every voice interpolates.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "audio/WavBuilder.h"
#include "engine/EventCodes.h"
#include "engine/InstrumentSampler.h"
#include "engine/SampleZone.h"
#include "engine/SoundStudio.h"

namespace jorvo::bench {
namespace {

constexpr std::int32_t kHeldPulses = 1 << 30;
constexpr int kLowestKey = 36;

// A one-second looped mono sample with its root at middle C, written once.
const std::string& LoopedSample()
{
    static const std::string path = [] {
        constexpr int kFrames = 44100;
        const std::string file = ScratchFolder() + "/Looped.wav";
        std::vector<std::int16_t> samples(kFrames);
        for (int i = 0; i < kFrames; ++i)
            samples[i] = static_cast<std::int16_t>(((i * 37) % 200 - 100) * 150);
        std::ofstream(file, std::ios::binary)
            << test::RiffWave({test::FormatChunk(1), test::SamplerChunk(60, 0, 1000, kFrames - 1000), test::DataChunk(samples)});
        return file;
    }();
    return path;
}

void SamplerVoices(benchmark::State& state)
{
    const int voices = static_cast<int>(state.range(0));
    SoundStudio studio; // the zones' samples come from its sample store
    InstrumentSampler sampler;
    sampler.SetPolyphony(InstrumentSampler::kVoiceCount);
    for (int key = kLowestKey; key < kLowestKey + voices; ++key) {
        SampleZone* zone = sampler.CreateZone(key);
        if (!zone || !zone->SetZoneSample(LoopedSample())) {
            state.SkipWithError("the zone cannot be made");
            return;
        }
    }
    sampler.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    for (int key = kLowestKey; key < kLowestKey + voices; ++key)
        sampler.HandleEvent(kEventNoteStart, key, 100, kHeldPulses, 0);
    if (sampler.ActiveVoices() != voices) {
        state.SkipWithError("the notes do not all sound");
        return;
    }
    for (auto _ : state) {
        sampler.BeginChunk(kChunkFrames);
        sampler.Render(kChunkFrames);
        benchmark::DoNotOptimize(sampler.Output()[0]);
    }
    if (sampler.ActiveVoices() != voices)
        state.SkipWithError("notes ended during the run");
    ReportPerFrame(state, voices);
}

BENCHMARK(SamplerVoices)->Arg(1)->Arg(8)->Arg(32);

} // namespace
} // namespace jorvo::bench
