#pragma once

#include <string>

namespace QXUTIL {

// The text of valueName under HKEY_LOCAL_MACHINE
// "Software\Microsoft\Windows\CurrentVersion\Uninstall\" + product (32-bit
// view), read into a zeroed 1024-byte buffer offered as 1023 bytes so that it
// always ends in a NUL; the value's type is not looked at. Empty when the
// key or value is missing or needs more than 1023 bytes.
std::string ReadUninstallSetting(const std::string& product, const std::string& valueName);

}  // namespace QXUTIL
