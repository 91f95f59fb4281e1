#include <gtest/gtest.h>

#include <cstdlib>
#include <pugixml.hpp>
#include <set>

#include "installhelper/InstallHelperMessages.h"
#include "installhelper/PresetMerger.h"
#include "support/TestSupport.h"

namespace jorvo::installhelper {
namespace {

constexpr char kDevicePresets[] = R"(<PresetFile>
  <PresetList><Instrument Name="Pad" Tag="device-default"/></PresetList>
  <PresetList Name="Drums">
    <Instrument Name="Kit" Tag="device-old"/><Instrument Name="Kit" Tag="device-twin"/>
    <Instrument Name="Keep" Tag="device-keep"/>
  </PresetList>
  <PresetList Name="Other"><Instrument Name="Kit" Tag="other-bank"/></PresetList>
</PresetFile>)";

constexpr char kPackPresets[] = R"(<PresetFile>
  <PresetList Name="Drums"><Instrument Name="Kit" Tag="pack"/><Instrument Tag="nameless"/></PresetList>
  <PresetList><Instrument Name="Pad" Tag="pack-default"/></PresetList>
  <PresetList Name="New &quot;One&quot;"><Instrument Name="A"/><Instrument Name="B"/></PresetList>
</PresetFile>)";

class PresetMergerTest : public ::testing::Test {
protected:
    std::string Merge(const std::string& pack, const std::string& device)
    {
        test::WriteFileBytes(dir / "pack.presets", pack);
        test::WriteFileBytes(dir / "device.presets", device);
        std::string error;
        const bool merged =
            MergePresetFiles((dir / "pack.presets").string(), (dir / "device.presets").string(), error);
        EXPECT_EQ(merged, error.empty());
        return error;
    }
    // The tags of the presets named `name` in the bank chosen by `bankPath`, in document order.
    std::string Tags(const std::string& bankPath, const std::string& name)
    {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_file((dir / "device.presets").c_str()));
        std::string tags;
        for (const pugi::xpath_node& bank : document.select_nodes(("/PresetFile/" + bankPath).c_str())) {
            for (const pugi::xml_node preset : bank.node().children())
                if (name == preset.attribute("Name").value())
                    tags += std::string(preset.attribute("Tag").value()) + ";";
        }
        return tags;
    }
    test::TempDir dir;
};

TEST_F(PresetMergerTest, PackPresetReplacesSameNameInSameBankOnly)
{
    ASSERT_EQ(Merge(kPackPresets, kDevicePresets), "");
    EXPECT_EQ(Tags("PresetList[@Name='Drums']", "Kit"), "pack;");
    EXPECT_EQ(Tags("PresetList[@Name='Drums']", "Keep"), "device-keep;");
    EXPECT_EQ(Tags("PresetList[@Name='Other']", "Kit"), "other-bank;");
    EXPECT_EQ(Tags("PresetList[not(@Name)]", "Pad"), "pack-default;");
    // A preset without a name is not merged into an existing bank.
    EXPECT_EQ(Tags("PresetList[@Name='Drums']", ""), "");
}

TEST_F(PresetMergerTest, BankOnlyInPackIsAppendedWholeAtTheEnd)
{
    ASSERT_EQ(Merge(kPackPresets, kDevicePresets), "");
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file((dir / "device.presets").c_str()));
    const pugi::xml_node last = document.child("PresetFile").last_child();
    EXPECT_STREQ(last.attribute("Name").value(), "New \"One\"");
    EXPECT_EQ(std::distance(last.children().begin(), last.children().end()), 2);
    EXPECT_EQ(std::distance(document.child("PresetFile").children().begin(),
                            document.child("PresetFile").children().end()),
              4);
}

TEST_F(PresetMergerTest, ParseErrorsGiveReasonLineAndColumn)
{
    EXPECT_EQ(Merge("<PresetFile>\n  <PresetList>\n</PresetFile>", kDevicePresets),
              "Error reading Source preset file\nStart-end tags mismatch\nLine 3, Col 3.");
    // Columns count characters, not bytes.
    const std::string damaged = "<PresetFile>\n  <PresetList Name=\"\u00e9\u00e9\">\u00e9</PresetFile>";
    EXPECT_EQ(Merge(kPackPresets, damaged),
              "Error reading Source preset file\nStart-end tags mismatch\nLine 2, Col 28.");
    EXPECT_EQ(test::ReadFileBytes(dir / "device.presets"), damaged);
}

TEST_F(PresetMergerTest, UnreadableSourceGivesLoadFailure)
{
    test::WriteFileBytes(dir / "device.presets", kDevicePresets);
    std::string error;
    const std::string missing = (dir / "missing.presets").string();
    EXPECT_FALSE(MergePresetFiles(missing, (dir / "device.presets").string(), error));
    EXPECT_EQ(error, "Failed to load source preset file\nNo such file or directory\n" + missing);
}

TEST_F(PresetMergerTest, StructuralFailuresLeaveTheDestinationAlone)
{
    EXPECT_EQ(Merge(kPackPresets, "<Presets/>"), kNoDestinationRoot);
    EXPECT_EQ(Merge("<PresetFile/>", kDevicePresets), kNoPresets);
    EXPECT_EQ(Merge("<Other><PresetList/></Other>", kDevicePresets), kNoPresets);
    EXPECT_EQ(test::ReadFileBytes(dir / "device.presets"), kDevicePresets);
}

TEST_F(PresetMergerTest, UnsavableDestinationGivesSaveFailureAndStaysIntact)
{
    // The longest name a folder takes leaves no room for the file written beside it.
    const std::string destination = (dir / (std::string(247, 'p') + ".presets")).string();
    test::WriteFileBytes(dir / "pack.presets", kPackPresets);
    test::WriteFileBytes(destination, kDevicePresets);
    std::string error;
    EXPECT_FALSE(MergePresetFiles((dir / "pack.presets").string(), destination, error));
    EXPECT_EQ(error, "Failed to save file " + destination);
    EXPECT_EQ(test::ReadFileBytes(destination), kDevicePresets);
}

// The XML library's allocations, failing from the given one on (counting from 0) while armed.
int gAllocationsLeft = -1;

void* FailingAllocate(std::size_t size)
{
    if (gAllocationsLeft == 0)
        return nullptr;
    if (gAllocationsLeft > 0)
        --gAllocationsLeft;
    return std::malloc(size);
}

class FailingXmlMemory {
public:
    FailingXmlMemory() { pugi::set_memory_management_functions(&FailingAllocate, &std::free); }
    ~FailingXmlMemory()
    {
        gAllocationsLeft = -1;
        pugi::set_memory_management_functions(previousAllocate_, previousFree_);
    }
    void FailFrom(int allocation) { gAllocationsLeft = allocation; }

private:
    pugi::allocation_function previousAllocate_ = pugi::get_memory_allocation_function();
    pugi::deallocation_function previousFree_ = pugi::get_memory_deallocation_function();
};

TEST_F(PresetMergerTest, RunningOutOfMemoryAnywhereFailsCleanly)
{
    FailingXmlMemory memory;
    std::set<std::string> errors;
    // Fail each allocation in turn until one merge no longer runs short.
    for (int allocation = 0; allocation < 1000; ++allocation) {
        memory.FailFrom(allocation);
        const std::string error = Merge(kPackPresets, kDevicePresets);
        if (error.empty())
            break;
        errors.insert(error);
        ASSERT_EQ(test::ReadFileBytes(dir / "device.presets"), kDevicePresets) << error;
    }
    EXPECT_EQ(errors, (std::set<std::string>{kCreatePresetDocument, kAppendFailed}));
}

} // namespace
} // namespace jorvo::installhelper
