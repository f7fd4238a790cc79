#include "reportframe/InstallLocation.h"

#include "runtime/UninstallSetting.h"

std::string GetInstallLocation(const std::string& product, const std::string& valueName,
                               const std::string& defaultFolder, const std::string& suffix1,
                               const std::string& suffix2, const std::string& suffix3) {
    std::string location = QXUTIL::ReadUninstallSetting(product, valueName);
    if (location.empty()) {
        location = defaultFolder;
    }
    for (const std::string* suffix : {&suffix1, &suffix2, &suffix3}) {
        if (suffix->empty()) {
            break;
        }
        location += *suffix;
    }
    return location;
}
