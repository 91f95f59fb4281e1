// What every built-in effect shares: identity, silence after a reset, a fixed buffer, storage.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/EffectChorus.h"
#include "engine/EffectDelay.h"
#include "engine/EffectDistortion.h"
#include "engine/EffectFlanger.h"
#include "engine/EffectReverb.h"
#include "engine/EffectReverbLite.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

// The identity each engine must show.
template <class T>
struct Expected;
template <>
struct Expected<EffectChorus> {
    static constexpr const char* kClass = "EffectChorus";
    static constexpr const char* kEngine = "Chorus";
    static constexpr int kOutputs = 2;
    static constexpr std::size_t kParameters = 3;
};
template <>
struct Expected<EffectDelay> {
    static constexpr const char* kClass = "EffectDelay";
    static constexpr const char* kEngine = "Delay";
    static constexpr int kOutputs = 2;
    static constexpr std::size_t kParameters = 4;
};
template <>
struct Expected<EffectDistortion> {
    static constexpr const char* kClass = "EffectDistortion";
    static constexpr const char* kEngine = "Distortion";
    static constexpr int kOutputs = 1;
    static constexpr std::size_t kParameters = 4;
};
template <>
struct Expected<EffectFlanger> {
    static constexpr const char* kClass = "EffectFlanger";
    static constexpr const char* kEngine = "Flanger";
    static constexpr int kOutputs = 2;
    static constexpr std::size_t kParameters = 3;
};
template <>
struct Expected<EffectReverb> {
    static constexpr const char* kClass = "EffectReverb";
    static constexpr const char* kEngine = "Reverb";
    static constexpr int kOutputs = 2;
    static constexpr std::size_t kParameters = 2;
};
template <>
struct Expected<EffectReverbLite> {
    static constexpr const char* kClass = "EffectReverbLite";
    static constexpr const char* kEngine = "Reverb Lite";
    static constexpr int kOutputs = 2;
    static constexpr std::size_t kParameters = 2;
};

// Full-scale noise, the same on every run.
std::vector<std::int32_t> Noise(std::size_t count)
{
    std::vector<std::int32_t> samples(count);
    std::uint32_t seed = 7;
    for (std::int32_t& sample : samples) {
        seed = seed * 1103515245u + 12345u;
        sample = static_cast<std::int32_t>(seed >> 8) - (1 << 23);
    }
    return samples;
}

// Runs `input` through `effect` chunk by chunk; all output frames, interleaved.
std::vector<std::int32_t> ProcessAll(Effect& effect, const std::vector<std::int32_t>& input)
{
    std::vector<std::int32_t> output;
    const int channels = effect.OutputChannels();
    for (std::size_t start = 0; start < input.size(); start += Effect::kMaxFrames) {
        const int frames = static_cast<int>(std::min<std::size_t>(Effect::kMaxFrames, input.size() - start));
        effect.PrepareChunk();
        EXPECT_TRUE(effect.Process(input.data() + start, frames));
        EXPECT_TRUE(effect.IsRendered());
        output.insert(output.end(), effect.Output(), effect.Output() + frames * channels);
    }
    return output;
}

// Every stored value moved to its minimum, then applied.
void MoveStoredValuesToMinimum(Effect& effect)
{
    for (const auto& [number, parameter] : effect.Parameters())
        effect.SetStoredValue(number, parameter->Minimum());
    effect.ApplyParameters();
}

void ExpectValuesAtMinimum(const Effect& effect)
{
    for (const auto& [number, parameter] : effect.Parameters()) {
        EXPECT_EQ(parameter->StoredValue(), parameter->Minimum()) << parameter->Name();
        EXPECT_EQ(parameter->LiveValue(), parameter->Minimum()) << parameter->Name();
    }
}

std::string StoreBinary(Effect& effect)
{
    MemoryStream stream;
    BinaryArchive archive(stream, BinaryArchive::Mode::Store);
    effect.Serialize(archive);
    archive.Close();
    return stream.BytesAsString();
}

template <class T>
class BuiltInEffect : public ::testing::Test {};

using Engines = ::testing::Types<EffectChorus, EffectDelay, EffectDistortion, EffectFlanger, EffectReverb,
                                 EffectReverbLite>;
TYPED_TEST_SUITE(BuiltInEffect, Engines);

TYPED_TEST(BuiltInEffect, IdentityChannelsAndParameters)
{
    TypeParam effect;
    EXPECT_EQ(effect.GetRuntimeClass().Name(), Expected<TypeParam>::kClass);
    EXPECT_EQ(effect.GetEngineName(), Expected<TypeParam>::kEngine);
    EXPECT_EQ(effect.GetName(), Expected<TypeParam>::kEngine);
    EXPECT_EQ(effect.GetTypeName(), "Effect");
    EXPECT_EQ(effect.InputChannels(), 1);
    EXPECT_EQ(effect.OutputChannels(), Expected<TypeParam>::kOutputs);
    EXPECT_EQ(effect.Parameters().size(), Expected<TypeParam>::kParameters);
    const RuntimeClass* record = RuntimeClass::FromName(Expected<TypeParam>::kClass);
    ASSERT_NE(record, nullptr);
    const auto created = record->CreateObject();
    EXPECT_NE(PersistentCast<TypeParam>(created.get()), nullptr);
}

TYPED_TEST(BuiltInEffect, SilentAfterStopUntilNewInput)
{
    TypeParam effect;
    ProcessAll(effect, Noise(5000));
    effect.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    const std::vector<std::int32_t> after = ProcessAll(effect, std::vector<std::int32_t>(6000, 0));
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](std::int32_t sample) { return sample == 0; }));
}

TYPED_TEST(BuiltInEffect, StopRestoresStoredValues)
{
    TypeParam effect;
    const auto& [number, parameter] = *effect.Parameters().begin();
    effect.HandleEvent(number, parameter->Minimum(), 0, 0, 0);
    effect.HandleEvent(number, parameter->Maximum(), 0, 0, 0);
    ASSERT_EQ(effect.GetParameterValue(number), parameter->Maximum());
    effect.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    EXPECT_EQ(effect.GetParameterValue(number), parameter->StoredValue());
}

TYPED_TEST(BuiltInEffect, OutOfRangeParameterValuesAreIgnored)
{
    TypeParam effect;
    for (const auto& [number, parameter] : effect.Parameters()) {
        const std::int32_t before = parameter->LiveValue();
        effect.HandleEvent(number, parameter->Maximum() + 1, 0, 0, 0);
        effect.HandleEvent(number, parameter->Minimum() - 1, 0, 0, 0);
        EXPECT_EQ(parameter->LiveValue(), before) << parameter->Name();
    }
    effect.HandleEvent(-5, 1, 0, 0, 0);
    effect.HandleEvent(70000, 1, 0, 0, 0);
}

TYPED_TEST(BuiltInEffect, ProcessingKeepsItsBuffers)
{
    TypeParam effect;
    const std::int32_t* buffer = effect.Output();
    ProcessAll(effect, Noise(3000));
    effect.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    MoveStoredValuesToMinimum(effect);
    ProcessAll(effect, Noise(100));
    EXPECT_EQ(effect.Output(), buffer);
    // A chunk longer than a buffer is cut to its size; none is nothing at all.
    std::vector<std::int32_t> input = Noise(2 * Effect::kMaxFrames);
    EXPECT_TRUE(effect.Process(input.data(), 2 * Effect::kMaxFrames));
    EXPECT_TRUE(effect.Process(input.data(), -1));
}

TYPED_TEST(BuiltInEffect, BinaryRoundTripEndsWithTheEngineVersionByte)
{
    TypeParam written;
    MoveStoredValuesToMinimum(written);
    const std::string bytes = StoreBinary(written);
    // … sample rate 44100 (0xAC44), one input, the output count, then the engine's version byte.
    const std::string tail = std::string("\x44\xAC\x01", 3) +
                             static_cast<char>(Expected<TypeParam>::kOutputs) + std::string("\x01", 1);
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);

    TypeParam read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    read.Serialize(archive);
    EXPECT_EQ(archive.BytesAvailable(), 0u);
    ExpectValuesAtMinimum(read);
}

// A record claiming other channel counts cannot make Process write past the output buffer: the
// engine keeps its own, and refuses to run with any other.
TYPED_TEST(BuiltInEffect, StoredChannelCountsCannotChangeTheEngine)
{
    constexpr int kOther = 3 - Expected<TypeParam>::kOutputs;
    TypeParam written;
    std::string bytes = StoreBinary(written);
    bytes[bytes.size() - 3] = 2;                                  // input channels
    bytes[bytes.size() - 2] = static_cast<char>(kOther);          // output channels
    TypeParam read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    read.Serialize(archive);
    EXPECT_EQ(read.InputChannels(), 1);
    EXPECT_EQ(read.OutputChannels(), Expected<TypeParam>::kOutputs);

    ASSERT_TRUE(read.SetOutputChannels(kOther));
    const std::vector<std::int32_t> input = Noise(Effect::kMaxFrames);
    read.PrepareChunk();
    EXPECT_FALSE(read.Process(input.data(), Effect::kMaxFrames));
    EXPECT_FALSE(read.IsRendered());
}

TYPED_TEST(BuiltInEffect, TruncatedBinaryRecordIsAnEndOfFile)
{
    TypeParam written;
    std::string bytes = StoreBinary(written);
    bytes.pop_back();
    TypeParam read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    try {
        read.Serialize(archive);
        FAIL() << "a truncated record loaded";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), ArchiveException::Cause::EndOfFile);
    }
}

TYPED_TEST(BuiltInEffect, XmlRoundTripAndEngineCheck)
{
    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;
    const std::string path = (dir / "effect.xml").string();
    TypeParam written;
    MoveStoredValuesToMinimum(written);
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
        ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
        CXMLArchive child(archive);
        written.SerializeXML(child);
        ASSERT_TRUE(archive.Save());
    }
    const std::string text = test::ReadFileBytes(path);
    EXPECT_NE(text.find(std::string("Engine=\"") + Expected<TypeParam>::kEngine + "\""), std::string::npos);
    EXPECT_NE(text.find("InputChannels=\"1\""), std::string::npos);
    const std::string outputs = "OutputChannels=\"" + std::to_string(Expected<TypeParam>::kOutputs) + "\"";
    const std::size_t at = text.find(outputs);
    ASSERT_NE(at, std::string::npos);
    // A hand-edited file asking for other channel counts loads with the engine's own.
    const std::string otherCounts = "OutputChannels=\"" + std::to_string(3 - Expected<TypeParam>::kOutputs) + "\"";
    std::string edited = text;
    edited.replace(at, outputs.size(), otherCounts);
    test::WriteFileBytes(path, edited);

    TypeParam read;
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
        ASSERT_TRUE(archive.Descend("Effect"));
        read.SerializeXML(archive);
    }
    ExpectValuesAtMinimum(read);
    EXPECT_EQ(read.OutputChannels(), Expected<TypeParam>::kOutputs);

    // Another engine's record is refused.
    std::unique_ptr<Effect> other;
    if constexpr (std::is_same_v<TypeParam, EffectReverb>)
        other = std::make_unique<EffectReverbLite>();
    else
        other = std::make_unique<EffectReverb>();
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
    ASSERT_TRUE(archive.Descend("Effect"));
    EXPECT_THROW(other->SerializeXML(archive), ArchiveException);
    EXPECT_TRUE(shell.messages.empty());
}

} // namespace
} // namespace jorvo
