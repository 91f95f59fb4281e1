// The render path never touches the heap: every allocation and release made by this program goes
// through a counting operator new/delete, and the demo song is played to its end with the
// counter armed around each rendered block. On top of the song's own note starts and ends and
// controller automation, the test sends what a live performance adds between blocks: a chord of
// more notes than the sampler has voices (voice stealing), a new note over a sounding mono synth
// note, and a delay whose maximum time changes (the line is rebuilt). The song's end sends 255 to
// every target.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "document/Configuration.h"
#include "support/DemoSong.h"
#include "engine/Effect.h"
#include "engine/EffectDelay.h"
#include "engine/EventCodes.h"
#include "engine/Instrument.h"
#include "engine/InstrumentSampler.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "sequencer/Sequencer.h"

namespace {

// Armed only on the thread under test, so other threads' work is never counted.
thread_local bool countingHere = false;
std::atomic<long> allocations{0};
std::atomic<long> releases{0};

void* Allocate(std::size_t size, std::size_t alignment = 0) noexcept
{
    if (countingHere)
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (size == 0)
        size = 1;
    if (alignment <= alignof(std::max_align_t))
        return std::malloc(size);
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void Release(void* pointer) noexcept
{
    if (countingHere && pointer)
        releases.fetch_add(1, std::memory_order_relaxed);
    std::free(pointer);
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment = 0)
{
    if (void* pointer = Allocate(size, alignment))
        return pointer;
    throw std::bad_alloc();
}

// Arms the counter on this thread for its lifetime.
class CountingScope {
public:
    CountingScope() { countingHere = true; }
    ~CountingScope() { countingHere = false; }
    CountingScope(const CountingScope&) = delete;
    CountingScope& operator=(const CountingScope&) = delete;
};

} // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t alignment) { return AllocateOrThrow(size, static_cast<std::size_t>(alignment)); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return AllocateOrThrow(size, static_cast<std::size_t>(alignment)); }
void operator delete(void* pointer) noexcept { Release(pointer); }
void operator delete[](void* pointer) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete(void* pointer, std::align_val_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::align_val_t) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept { Release(pointer); }

namespace jorvo {
namespace {

class RenderAllocationTest : public ::testing::Test {
protected:
    void SetUp() override { Configuration().SetSampleDir(test::kSamples.string()); }

    // Runs `work` with the counter armed and returns the allocations plus releases it made.
    template <class Work>
    long HeapCallsOf(Work&& work)
    {
        const long before = allocations.load() + releases.load();
        {
            CountingScope counting;
            work();
        }
        return allocations.load() + releases.load() - before;
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
};

TEST_F(RenderAllocationTest, TheCounterSeesAllocationsAndReleasesOnItsThreadOnly)
{
    EXPECT_EQ(HeapCallsOf([] { std::make_unique<int>(5).reset(); }), 2);
    EXPECT_EQ(HeapCallsOf([] {
        char* volatile block = new char[1000];
        delete[] block;
    }), 2);
    EXPECT_EQ(HeapCallsOf([] {}), 0);
}

TEST_F(RenderAllocationTest, TheDemoSongPlaysToItsEndWithoutTouchingTheHeap)
{
    SoundStudio studio;
    test::LoadDemo(studio);
    ASSERT_FALSE(HasFailure());
    auto* pad = dynamic_cast<InstrumentSampler*>(studio.FindInstrument("Pad"));
    Instrument* lead = studio.FindInstrument("Lead");
    Effect* delay = studio.FindEffect("Delay");
    ASSERT_TRUE(pad && lead && delay);

    Sequencer& sequencer = studio.GetSequencer();
    sequencer.SetLoop(false);
    sequencer.Play();
    constexpr int kChunk = 256;
    long heapCalls = 0;
    long frames = 0;
    for (int block = 0; sequencer.IsPlaying(); ++block) {
        heapCalls += HeapCallsOf([&] {
            if (block == 400) {
                for (int note = 30; note < 30 + 2 * InstrumentSampler::kVoiceCount; ++note)
                    pad->HandleEvent(kEventNoteStart, note, 90, 480, 0);
            }
            if (block == 600) {
                lead->HandleEvent(kEventNoteStart, 60, 100, 4 * 480, 0);
                lead->HandleEvent(kEventNoteStart, 67, 100, 4 * 480, 0);
            }
            if (block == 800) {
                delay->HandleEvent(EffectDelay::kMaximumTime, 20000, 0, 0, 0);
                delay->HandleEvent(EffectDelay::kTime, 15000, 0, 0, 0);
            }
            int chunk = kChunk;
            studio.RenderBlock(chunk);
            frames += chunk;
        });
    }
    // The song lasted its 86.4 s (36 bars of 4 beats at 100 beats per minute).
    EXPECT_NEAR(static_cast<double>(frames), 86.4 * 44100, 4096);
    EXPECT_EQ(heapCalls, 0);
}

} // namespace
} // namespace jorvo
