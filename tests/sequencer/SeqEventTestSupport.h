#pragma once
// Stand-ins for what events and containers meet when they play and load: a target that records
// every event it is handed, a lookup over test-owned patterns, sections and targets, a tree that
// records its items, and XML helpers.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "document/XMLArchive.h"
#include "engine/SeqEventTarget.h"
#include "platform/TreeSink.h"
#include "sequencer/SeqEventLookup.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/SeqEventSong.h"
#include "sequencer/SequencerSettings.h"
#include "support/TestSupport.h"

namespace jorvo::test {

// One HandleEvent call as it was received.
struct TargetCall {
    std::int32_t code = 0;
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
    std::int32_t d = 0;
    bool operator==(const TargetCall&) const = default;
};

inline void PrintTo(const TargetCall& event, std::ostream* out)
{
    *out << "{" << event.code << ", " << event.a << ", " << event.b << ", " << event.c << ", " << event.d << "}";
}

class RecordingTarget : public SeqEventTarget {
public:
    explicit RecordingTarget(const std::string& name, std::string typeName = "Instrument")
        : typeName_(std::move(typeName))
    {
        SetNameDirect(name);
    }

    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override
    {
        received.push_back({code, a, b, c, d});
    }
    std::string GetTypeName() const override { return typeName_; }

    std::vector<TargetCall> received;

private:
    std::string typeName_;
};

// Publishes itself as the current lookup for its lifetime. Members are destroyed song first,
// then sections, then patterns, as the sequencer does.
class TestLookup : public SeqEventLookup {
public:
    TestLookup() : previous_(SeqEventLookup::SetCurrent(this)) {}
    ~TestLookup() override { SeqEventLookup::SetCurrent(previous_); }

    SeqEventPattern* AddPattern(const std::string& name, std::uint32_t length)
    {
        auto pattern = std::make_unique<SeqEventPattern>();
        pattern->SetName(name);
        pattern->SetLength(length);
        return (patterns[name] = std::move(pattern)).get();
    }
    SeqEventSection* AddSection(const std::string& name, std::uint32_t length)
    {
        auto section = std::make_unique<SeqEventSection>();
        section->SetName(name);
        section->SetLength(length);
        return (sections[name] = std::move(section)).get();
    }
    RecordingTarget* AddTarget(const std::string& name, const std::string& typeName = "Instrument")
    {
        targets.push_back(std::make_unique<RecordingTarget>(name, typeName));
        return targets.back().get();
    }

    SeqEventPattern* FindPattern(const std::string& name) const override
    {
        const auto found = patterns.find(name);
        return found == patterns.end() ? nullptr : found->second.get();
    }
    SeqEventSection* FindSection(const std::string& name) const override
    {
        const auto found = sections.find(name);
        return found == sections.end() ? nullptr : found->second.get();
    }
    SeqEventTarget* FindTarget(const std::string& name, const std::string& typeName) const override
    {
        for (const auto& target : targets)
            if (target->GetName() == name && target->GetTypeName() == typeName)
                return target.get();
        return nullptr;
    }
    SeqEventPattern* CreatePattern(const std::string& baseName) override
    {
        createdPatterns.push_back(baseName);
        return FindPattern(baseName) ? nullptr : AddPattern(baseName, SequencerSettings::GetPulsesPerBar());
    }
    SeqEventSong* GetSong() const override { return song.get(); }

    std::vector<std::unique_ptr<RecordingTarget>> targets;
    std::map<std::string, std::unique_ptr<SeqEventPattern>> patterns;
    std::map<std::string, std::unique_ptr<SeqEventSection>> sections;
    std::unique_ptr<SeqEventSong> song;
    std::vector<std::string> createdPatterns;

private:
    SeqEventLookup* previous_;
};

// A tree that records each item as (parent, label, data).
class RecordingTree : public TreeSink {
public:
    struct Item {
        ItemId parent;
        std::string label;
        void* data;
    };
    ItemId InsertItem(ItemId parent, const std::string& label, int, int, void* data) override
    {
        items.push_back({parent, label, data});
        return static_cast<ItemId>(items.size() - 1);
    }
    std::vector<Item> items;
};

// Restores the class-wide timing values after every test.
class SequencerValuesTest : public ::testing::Test {
protected:
    void SetUp() override { SequencerSettings::RestoreInitialValues(); }
    void TearDown() override { SequencerSettings::RestoreInitialValues(); }
};

// Stores `object` as the only child of a "JorvoDocument" root in `file` and returns the file text.
template <class Object>
std::string StoreXML(Object& object, const std::filesystem::path& file)
{
    {
        CXMLArchive archive;
        EXPECT_TRUE(archive.Open(nullptr, file.string(), CXMLArchive::kStore));
        EXPECT_TRUE(archive.CreateRoot("JorvoDocument"));
        CXMLArchive child(archive);
        object.SerializeXML(child);
        EXPECT_TRUE(archive.Save());
    }
    return ReadFileBytes(file);
}

// Reads `object` from the first child `element` of the root of `file`.
template <class Object>
void LoadXML(Object& object, const std::filesystem::path& file, const std::string& element)
{
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, file.string(), CXMLArchive::kLoad));
    ASSERT_TRUE(archive.Descend(element));
    object.SerializeXML(archive);
}

// Writes `xml` (one element) inside a "JorvoDocument" root to `file`.
inline void WriteXMLElement(const std::filesystem::path& file, const std::string& xml)
{
    WriteFileBytes(file, "<?xml version=\"1.0\"?><JorvoDocument>" + xml + "</JorvoDocument>");
}

} // namespace jorvo::test
