// The jorvo executable. Until the studio window and the batch commands arrive it reports what the
// build holds: where its settings live and the folders it works with.
#include <cstdio>

#include "document/Configuration.h"
#include "platform/SettingsStore.h"

int main()
{
    jorvo::CConfiguration& config = jorvo::Configuration();
    std::printf("Jorvo %s\n", JORVO_VERSION);
    std::printf("Settings file:    %s\n", jorvo::SettingsStore::DefaultFile().c_str());
    std::printf("Program folder:   %s\n", config.GetProgramFolder().c_str());
    std::printf("Documents:        %s\n", config.GetDefaultDocDir().c_str());
    std::printf("Samples:          %s\n", config.GetSampleDir().c_str());
    std::printf("Pattern banks:    %s\n", config.GetPatternBankDir().c_str());
    std::printf("Plug-ins:         %s\n", config.GetPluginsDir().c_str());
    std::printf("Skins:            %s\n", config.GetSkinsDir().c_str());
    return 0;
}
