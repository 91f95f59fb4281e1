// The mixer's two phases with 8 stereo channels, each sending to 4 busses. The sources are
// stand-ins that cost almost nothing, so the figure is the mixer's own work.
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "engine/EventCodes.h"
#include "engine/Mixer.h"
#include "engine/MixerBuss.h"
#include "engine/MixerChannel.h"
#include "engine/MixerTestTargets.h"

namespace jorvo::bench {
namespace {

void MixChannelsAndBusses(benchmark::State& state)
{
    constexpr int kChannels = 8;
    constexpr int kBusses = 4;
    std::vector<std::unique_ptr<test::ConstantInstrument>> sources;
    std::vector<std::unique_ptr<test::PassThroughEffect>> effects;
    Mixer mixer;
    for (int i = 0; i < kBusses; ++i) {
        effects.push_back(std::make_unique<test::PassThroughEffect>("Buss " + std::to_string(i), 2, 2));
        mixer.AddBuss(*effects.back());
    }
    for (int i = 0; i < kChannels; ++i) {
        sources.push_back(std::make_unique<test::ConstantInstrument>("Channel " + std::to_string(i), 2, 2560 * (i + 1),
                                                                     -1280 * (i + 1)));
        mixer.AddChannel(*sources.back());
        MixerChannel& channel = *mixer.ChannelOf(*sources.back());
        channel.HandleEvent(kEventStopReset, 0, 0, 0, 0);
        channel.SetStoredValue(10, 20 + 10 * i); // panned apart, so no gain is unity
        for (const auto& effect : effects)
            channel.SetSend(*mixer.BussOf(*effect), 90);
    }
    std::vector<std::int32_t> block(2 * kChunkFrames);
    for (auto _ : state) {
        std::fill(block.begin(), block.end(), 0);
        mixer.Prepare(kChunkFrames);
        mixer.Mix(block.data(), kChunkFrames);
        benchmark::DoNotOptimize(block[0]);
    }
    ReportPerFrame(state);
}

BENCHMARK(MixChannelsAndBusses);

} // namespace
} // namespace jorvo::bench
