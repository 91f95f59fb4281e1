#pragma once
// The bundled demo song and sample pack, read from the repository, for the tests that play them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/XMLArchive.h"
#include "engine/SoundStudio.h"

namespace jorvo::test {

// The repository this test was built from, and its bundled samples.
inline const std::filesystem::path kRepository = JORVO_SOURCE_DIR;
inline const std::filesystem::path kSamples = kRepository / "samples";

// Loads examples/Demo.xml into `studio` as the document's XML import does (the caller points the
// sample folder at kSamples first).
inline void LoadDemo(SoundStudio& studio)
{
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, (kRepository / "examples" / "Demo.xml").string(), CXMLArchive::kLoad));
    std::string root;
    ASSERT_TRUE(archive.GetRootName(root));
    ASSERT_EQ(root, "JorvoDocument");
    int version = 0;
    ASSERT_TRUE(archive.Read("Version", version));
    EXPECT_EQ(version, 4);
    CXMLArchive studioArchive(archive);
    ASSERT_TRUE(studioArchive.Descend("Studio"));
    studio.SerializeXML(studioArchive);
}

} // namespace jorvo::test
