#include "engine/BundledContent.h"

#include "document/Configuration.h"
#include "platform/FolderCopy.h"
#include "platform/Paths.h"

namespace jorvo {

std::string BundledSamplesFolder()
{
    return JoinPath(Configuration().GetProgramFolder(), "Samples");
}

bool InstallBundledSamples()
{
    return CopyMissingFiles(BundledSamplesFolder(), Configuration().GetSampleDir());
}

} // namespace jorvo
