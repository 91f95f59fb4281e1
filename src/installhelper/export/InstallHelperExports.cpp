// The two functions libJorvoInstallHelper.so exports; everything else stays hidden.
#include "installhelper/InstallProgress.h"
#include "installhelper/InstallSamplePackCall.h"

#define JORVO_EXPORT __attribute__((visibility("default")))

extern "C" JORVO_EXPORT int InstallSamplePack(PropertyTable* table)
{
    return jorvo::installhelper::RunInstallSamplePack(table, jorvo::installhelper::InstallHelperFolder());
}

extern "C" JORVO_EXPORT void SetInstallProgressCallback(InstallProgressCallback callback)
{
    jorvo::installhelper::SetProgressReceiver(callback);
}
