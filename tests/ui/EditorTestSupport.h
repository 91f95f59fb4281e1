#pragma once
// Studios for the editor tests: the demo song loaded from the repository, or a small studio with
// one instrument, one effect and a section of four bars; and helpers to find its parts.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>

#include "document/XMLArchive.h"
#include "engine/SoundStudio.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"

namespace jorvo::test {

// The repository: three folders above this file, or (when the compiler was given a relative
// path) the first folder above the working folder that holds examples/Demo.xml.
inline std::filesystem::path RepositoryRoot()
{
    namespace fs = std::filesystem;
    const fs::path fromSource = fs::path(__FILE__).parent_path().parent_path().parent_path();
    if (fs::exists(fromSource / "examples" / "Demo.xml"))
        return fromSource;
    for (fs::path folder = fs::current_path(); !folder.empty(); folder = folder.parent_path()) {
        if (fs::exists(folder / "examples" / "Demo.xml"))
            return folder;
        if (folder == folder.parent_path())
            break;
    }
    return fromSource;
}

// Lets the event loop run until `done` holds (at most a second): posted messages arrive.
inline void WaitUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Loads examples/Demo.xml into `studio` the way the document's XML import does.
inline void LoadDemoSong(SoundStudio& studio)
{
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, (RepositoryRoot() / "examples" / "Demo.xml").string(), CXMLArchive::kLoad));
    CXMLArchive studioArchive(archive);
    ASSERT_TRUE(studioArchive.Descend("Studio"));
    studio.SerializeXML(studioArchive);
}

// The song placement of section `name`, or null.
inline SectionPlacement* FindSectionPlacement(Sequencer& sequencer, const std::string& name)
{
    for (const auto& placement : sequencer.GetSong()->Placements())
        if (placement->section->GetName() == name)
            return placement.get();
    return nullptr;
}

// The placement of pattern `name` in `section`, or null.
inline PatternPlacement* FindPatternPlacement(SeqEventSection& section, const std::string& name)
{
    for (const auto& placement : section.Placements())
        if (placement->pattern->GetName() == name)
            return placement.get();
    return nullptr;
}

// Pulses in `bars` bars at the current timing values.
inline std::uint32_t Bars(std::uint32_t bars)
{
    return bars * SequencerSettings::GetPulsesPerBar();
}

// Where test screens go.
inline std::string ScreenPath(const std::string& name)
{
    return std::string(JORVO_TEST_OUTPUT_DIR) + "/" + name;
}

} // namespace jorvo::test
