#include "installhelper/InstallProgress.h"

#include <atomic>

#include "installhelper/InstallHelperMessages.h"

namespace jorvo::installhelper {
namespace {

std::atomic<InstallProgressCallback> gReceiver{nullptr};

} // namespace

void SetProgressReceiver(InstallProgressCallback receiver)
{
    gReceiver.store(receiver);
}

InstallProgress::InstallProgress(int range) : range_(range)
{
    Report(kProgressTitle);
}

void InstallProgress::Step(const std::string& text)
{
    ++step_;
    Report(text.c_str());
}

void InstallProgress::Report(const char* text) const
{
    if (const InstallProgressCallback receiver = gReceiver.load())
        receiver(step_, range_, text);
}

} // namespace jorvo::installhelper
