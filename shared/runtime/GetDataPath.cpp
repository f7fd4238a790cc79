#include "runtime/GetDataPath.h"

#include "runtime/SharedConstants.h"
#include "runtime/UninstallSetting.h"

namespace {

const char kDataProduct[] = "kelden";

void AppendPart(std::string& path, const std::string& part) {
    if (part.front() != '\\') {
        path += '\\';
    }
    path += part;
}

}  // namespace

void GetDataPath(std::string& out, const std::string& subfolder, const std::string& a,
                 const std::string& b, const std::string& c) {
    std::string path = QXUTIL::ReadUninstallSetting(kDataProduct, kDataLocationValueName);
    if (path.empty()) {
        path = kDefaultDataDrive + "\\vs";
    }
    if (!subfolder.empty()) {
        AppendPart(path, subfolder);
        if (!a.empty()) {
            AppendPart(path, a);
            if (!b.empty()) {
                AppendPart(path, b);
            }
            if (!c.empty()) {
                AppendPart(path, c);
            }
        }
    }
    out = path;
}
