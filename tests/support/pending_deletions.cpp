#include "pending_deletions.h"

#include <windows.h>

namespace testing_support {

const wchar_t kSessionManagerKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";

std::vector<std::wstring> ScheduledDeletions()
{
    std::vector<std::wstring> found;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        std::vector<wchar_t> list(65536);
        DWORD size = static_cast<DWORD>(list.size() * sizeof(wchar_t)) - 2 * sizeof(wchar_t);
        LONG result = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(list.data()), &size);
        RegCloseKey(key);
        for (const wchar_t* line = list.data(); result == ERROR_SUCCESS && *line; line += lstrlenW(line) + 1)
            found.push_back(line);
    }
    std::vector<wchar_t> section(32768);
    GetPrivateProfileSectionW(L"rename", section.data(), static_cast<DWORD>(section.size()), L"wininit.ini");
    for (const wchar_t* line = section.data(); *line; line += lstrlenW(line) + 1)
        found.push_back(line);
    return found;
}

}  // namespace testing_support
