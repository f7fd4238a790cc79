#pragma once

#include <string>

// Registry export texts for the data folder of the trace files.

// The key of the data folder's value, holding the given value lines.
inline std::string KeldenKeyExport(const std::string& valueLines) {
    return "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\kelden]"
           "\r\n" +
           valueLines;
}

// The "DataLocation" value line for a folder, escaped as regedit writes it.
inline std::string DataLocationLine(const std::string& folder) {
    std::string escaped;
    for (const char c : folder) {
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    return "\"DataLocation\"=\"" + escaped + "\"\r\n";
}
