// The bundled demo song rendered from start to end through the studio's render path (the same
// RenderBlock the real-time and WAV outputs call), in chunks of 256 frames. "realtime" is audio
// seconds per CPU second: the real-time factor of the render path, loading and file output left out.
#include <string>

#include "BenchSupport.h"
#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/SoundStudio.h"
#include "sequencer/Sequencer.h"

namespace jorvo::bench {
namespace {

constexpr double kSampleRate = 44100.0;

// Loads examples/Demo.xml of the source tree into `studio`; false when it cannot.
bool LoadDemo(SoundStudio& studio)
{
    const std::string source = JORVO_SOURCE_DIR;
    Configuration().SetSampleDir(source + "/samples");
    CXMLArchive archive;
    if (!archive.Open(nullptr, source + "/examples/Demo.xml", CXMLArchive::kLoad))
        return false;
    CXMLArchive studioArchive(archive);
    if (!studioArchive.Descend("Studio"))
        return false;
    studio.SerializeXML(studioArchive);
    return true;
}

void DemoSong(benchmark::State& state)
{
    SoundStudio studio;
    if (!LoadDemo(studio)) {
        state.SkipWithError("the demo song cannot be read");
        return;
    }
    Sequencer& sequencer = studio.GetSequencer();
    sequencer.SetLoop(false);
    double frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        sequencer.Stop();
        sequencer.SetPosition(0);
        sequencer.Play();
        state.ResumeTiming();
        while (sequencer.IsPlaying()) {
            int chunk = kChunkFrames;
            studio.RenderBlock(chunk);
            frames += chunk;
        }
    }
    state.counters["realtime"] = benchmark::Counter(frames / kSampleRate, benchmark::Counter::kIsRate);
}

BENCHMARK(DemoSong)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace jorvo::bench
