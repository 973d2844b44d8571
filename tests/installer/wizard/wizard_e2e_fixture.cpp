#include "wizard_e2e_fixture.h"

using namespace installer_testing;
using namespace testing_support;

namespace wizard_testing {

namespace {

// Wine rewrites "Shell Folders" from these whenever a program asks the shell
// for a folder.
const wchar_t kUserShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

}  // namespace

ScopedShellFolders::ScopedShellFolders()
{
    const struct {
        const wchar_t* value;
        std::wstring folder;
    } folders[] = {{L"Start Menu", StartMenu()}, {L"Programs", Programs()}, {L"Startup", Startup()},
                   {L"Desktop", Desktop()},      {L"Personal", dir_ / L"Documents"}};
    for (const auto& folder : folders) {
        values_.emplace_back(new ScopedRegistryValue(HKEY_CURRENT_USER, kShellFoldersKey, folder.value));
        ready_ = CreateDirectories(folder.folder) && values_.back()->SetString(folder.folder) && ready_;
        values_.emplace_back(new ScopedRegistryValue(HKEY_CURRENT_USER, kUserShellFoldersKey, folder.value));
        ready_ = values_.back()->SetString(folder.folder, REG_EXPAND_SZ) && ready_;
    }
}

Medium::Medium(const std::wstring& programName) : program_(dir_ / programName)
{
    ready_ = CopyFileW(INSTALL_EXE, program_.c_str(), FALSE) != FALSE;
}

bool Medium::Write(const std::wstring& relative, const std::string& bytes) const
{
    std::wstring path = dir_ / relative;
    std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    return CreateDirectories(folder) && WriteFileBytes(path, bytes);
}

bool Medium::Start(RunningProgram* program) const
{
    return program->Start(L"\"" + program_ + L"\"", dir_.Path());
}

std::wstring FormatWith(const std::wstring& pattern, const std::wstring& value)
{
    std::wstring text = pattern;
    size_t at = text.find(L"%s");
    if (at == std::wstring::npos)
        at = text.find(L"%u");
    if (at != std::wstring::npos)
        text.replace(at, 2, value);
    return text;
}

std::wstring SystemDirectory()
{
    wchar_t dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, MAX_PATH);
    return dir;
}

std::wstring WindowsDirectory()
{
    wchar_t dir[MAX_PATH] = {};
    GetWindowsDirectoryW(dir, MAX_PATH);
    return dir;
}

std::wstring UninstallEntryKey(const std::wstring& installKey)
{
    return std::wstring(kUninstallKey) + L"\\" + installKey;
}

bool IsReadOnly(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace wizard_testing
