#include "medium_script.h"

#include <windows.h>

#include "test_files.h"

using testing_support::FileExists;
using testing_support::JoinPaths;

namespace medium_run {

namespace {

const wchar_t kInstall[] = L"Install";
const wchar_t kSampleInstallKey[] = L"SampleCardPrinter";

std::wstring ReadValue(const std::wstring& script, const wchar_t* key)
{
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(kInstall, key, L"", value, ARRAYSIZE(value), script.c_str());
    return value;
}

// install.INF, else the script of the interface language, else installE.INF.
std::wstring ChooseScript(const std::wstring& medium)
{
    const std::wstring plain = JoinPaths(medium, L"install.INF");
    if (FileExists(plain))
        return plain;
    const LANGID language = PRIMARYLANGID(GetUserDefaultUILanguage());
    const wchar_t* letter = language == LANG_JAPANESE ? L"J" : language == LANG_CHINESE ? L"C" : L"E";
    const std::wstring own = JoinPaths(medium, std::wstring(L"install") + letter + L".INF");
    return FileExists(own) ? own : JoinPaths(medium, L"installE.INF");
}

// What follows the last separator of path (all of it without one).
std::wstring LastComponent(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring DeriveInstallKey(const std::wstring& installKey, const std::wstring& folder)
{
    std::wstring key = installKey.empty() ? LastComponent(folder) : installKey;
    for (wchar_t& c : key) {
        if (c == L'\\' || c == L'/')
            c = L'_';
    }
    return key;
}

// The install-folder target of an [Install] entry; "" for S! and W! targets.
std::wstring EntryTarget(const std::wstring& entry)
{
    const size_t comma = entry.find(L',');
    if (comma == std::wstring::npos)
        return entry;
    const size_t start = entry.find_first_not_of(L" \t", comma + 1);
    const std::wstring target = start == std::wstring::npos ? L"" : entry.substr(start);
    if (target.size() >= 2 && target[1] == L'!' && wcschr(L"SsWw", target[0]))
        return L"";
    return target;
}

}  // namespace

bool ReadMediumScript(const std::wstring& medium, MediumScript* script)
{
    script->path = ChooseScript(medium);
    if (!FileExists(script->path))
        return false;
    script->installKey = DeriveInstallKey(ReadValue(script->path, L"InstallKey"), ReadValue(script->path, L"Folder"));
    script->isSample = script->installKey == kSampleInstallKey;
    script->installedFiles = {L"install.exe"};
    for (int n = 1;; ++n) {
        const std::wstring entry = ReadValue(script->path, std::to_wstring(n).c_str());
        if (entry.empty())
            break;
        const std::wstring target = EntryTarget(entry);
        if (!target.empty())
            script->installedFiles.push_back(target);
    }
    script->opensSetup = lstrcmpiW(LastComponent(ReadValue(script->path, L"Open")).c_str(), L"Setup.exe") == 0;
    return true;
}

}  // namespace medium_run
