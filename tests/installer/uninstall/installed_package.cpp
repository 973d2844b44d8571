#include "installed_package.h"

using namespace testing_support;
using installer_testing::kShellFoldersKey;
using installer_testing::ScopedRegistryValue;
using installer_testing::ScopedUninstallEntry;

namespace uninstall_testing {

const wchar_t kInstallKey[] = L"UninstallTestTool";
const wchar_t kKeptRegistryKey[] = L"Software\\Uninstall Test Kept";
const wchar_t kPackageRegistryKey[] = L"Software\\Uninstall Test Tool";
const wchar_t kComponentKey[] = L"Software\\Uninstall Test Component";

std::vector<std::wstring> InstalledPackage::InstalledFiles()
{
    return {L"install.exe", L"install.INF", L"Tool.exe", L"Readme.txt", L"data\\Tool.cfg", L"UninstallTestComponent.dll"};
}

namespace {

const wchar_t kUserShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::wstring SystemDir()
{
    wchar_t dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, MAX_PATH);
    return dir;
}

std::wstring WindowsDir()
{
    wchar_t dir[MAX_PATH] = {};
    GetWindowsDirectoryW(dir, MAX_PATH);
    return dir;
}

bool CreateKeyWithValue(HKEY root, const std::wstring& path)
{
    HKEY key;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    RegSetValueExW(key, L"Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 2 * sizeof(wchar_t));
    RegCloseKey(key);
    return true;
}

// The component registers itself as an install would have it do.
bool RegisterComponent(const std::wstring& path)
{
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module)
        return false;
    auto registerServer = reinterpret_cast<HRESULT(__stdcall*)()>(GetProcAddress(module, "DllRegisterServer"));
    bool registered = registerServer && SUCCEEDED(registerServer());
    FreeLibrary(module);
    return registered;
}

}  // namespace

InstalledPackage::InstalledPackage(const PackageOptions& options)
    : options_(options),
      root_(L"uninstall"),
      installDir_(root_ / L"Program Files\\Uninstall Test Tool"),
      menuDir_(root_ / L"Start Menu\\Programs\\Test Vendor\\Uninstall Test Tool"),
      systemFile_(SystemDir() + L"\\UninstallTestShared.dll"),
      windowsFile_(WindowsDir() + L"\\UninstallTestTool.cfg"),
      systemCopy_(SystemDir() + L"\\install.exe"),
      marker_(SystemDir() + L"\\UninstallTestTool.tmp")
{
    // A copy left by an earlier uninstall would be overwritten; one still
    // running would keep this test's copy from starting.
    DeleteFileW(systemCopy_.c_str());
    if (FileExists(systemCopy_)) {
        Fail("install.exe in the system directory is still in use");
        return;
    }
    Make();
}

InstalledPackage::~InstalledPackage()
{
    DeleteFileW(systemFile_.c_str());
    DeleteFileW(windowsFile_.c_str());
    DeleteFileW(systemCopy_.c_str());
    DeleteFileW(marker_.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, kPackageRegistryKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kKeptRegistryKey);
    RegDeleteTreeW(HKEY_USERS, (std::wstring(L".DEFAULT\\") + kKeptRegistryKey).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kComponentKey);
}

void InstalledPackage::Fail(const std::string& what)
{
    if (failure_.empty())
        failure_ = what;
}

std::wstring InstalledPackage::MenuParent() const
{
    return root_ / L"Start Menu\\Programs\\Test Vendor";
}

std::wstring InstalledPackage::ProgramsDir() const
{
    return root_ / L"Start Menu\\Programs";
}

std::wstring InstalledPackage::DesktopLink() const
{
    return root_ / (L"Desktop\\" + options_.title + L".lnk");
}

std::wstring InstalledPackage::StartupLink() const
{
    return root_ / (L"Startup\\" + options_.title + L".lnk");
}

void InstalledPackage::Make()
{
    MakeFiles();
    MakeShortcuts();
    MakeRegistry();
}

void InstalledPackage::MakeFiles()
{
    const std::string title = ToCodePage(options_.title, GetACP());
    const std::string script = "[Install]\r\nTitle=" + title +
                               "\r\nFolder=Uninstall Tests\\Tool\r\nInstallKey=UninstallTestTool\r\n"
                               "1=Tool.exe\r\n2=Readme.txt\r\n3=data\\Tool.cfg\r\n4=UninstallTestComponent.dll\r\n"
                               "5=shared.dll, S!UninstallTestShared.dll\r\n6=Tool.cfg, W!UninstallTestTool.cfg\r\n"
                               "RegFiles0=Gone.dll\r\nRegFiles1=UninstallTestComponent.dll\r\n" +
                               options_.installLines +
                               "[Group]\r\n1=" + title + ",Tool.exe\r\n2=Read Me,Readme.txt\r\n"
                               "3=Uninstall " + title + ",install.exe,/r\r\n"
                               "[Reg]\r\n1=HKEY_CURRENT_USER\\Software\\Uninstall Test Tool\r\n" +
                               options_.regLines;
    if (!CreateDirectories(installDir_ + L"\\data") ||
        !CopyFileW(INSTALL_EXE, InInstallDir(L"install.exe").c_str(), FALSE) ||
        !CopyFileW(COMPONENT_DLL, InInstallDir(L"UninstallTestComponent.dll").c_str(), FALSE) ||
        !WriteFileBytes(InInstallDir(L"install.INF"), script) ||
        !WriteFileBytes(InInstallDir(L"Tool.exe"), "the tool") ||
        !WriteFileBytes(InInstallDir(L"Readme.txt"), "read me") ||
        !WriteFileBytes(InInstallDir(L"data\\Tool.cfg"), "settings") ||
        !WriteFileBytes(systemFile_, "shared with other packages") ||
        !WriteFileBytes(windowsFile_, "settings"))
        Fail("the installed files cannot be made");
}

void InstalledPackage::MakeShortcuts()
{
    // Shortcut files are deleted by name; their contents do not matter here.
    const std::wstring links[] = {
        menuDir_ + L"\\" + options_.title + L".lnk", menuDir_ + L"\\Read Me.lnk",
        menuDir_ + L"\\Uninstall " + options_.title + L".lnk", ProgramsDir() + L"\\Other Program.lnk",
        DesktopLink(), StartupLink(),
    };
    if (!CreateDirectories(menuDir_) || !CreateDirectories(root_ / L"Desktop") ||
        !CreateDirectories(root_ / L"Startup"))
        Fail("the shortcut folders cannot be made");
    for (const std::wstring& link : links) {
        if (!WriteFileBytes(link, "link"))
            Fail("a shortcut cannot be made");
    }
    // Both keys, "User Shell Folders" first: Wine copies it over "Shell
    // Folders" whenever the shell looks a folder up, as the uninstall's check
    // of shared folders does. The group lies in the start menu, whose folders
    // its removal keeps.
    const wchar_t* const keys[] = {kUserShellFoldersKey, kShellFoldersKey};
    const struct {
        const wchar_t* name;
        const wchar_t* folder;
    } folders[] = {{L"Desktop", L"Desktop"}, {L"Startup", L"Startup"}, {L"Start Menu", L"Start Menu"},
                   {L"Programs", L"Start Menu\\Programs"}};
    for (const wchar_t* key : keys) {
        const DWORD type = key == kShellFoldersKey ? REG_SZ : REG_EXPAND_SZ;
        for (const auto& folder : folders) {
            shellFolders_.emplace_back(new ScopedRegistryValue(HKEY_CURRENT_USER, key, folder.name));
            if (!shellFolders_.back()->SetString(root_ / folder.folder, type))
                Fail("the shell folders cannot be set");
        }
    }
}

void InstalledPackage::MakeRegistry()
{
    if (!CreateKeyWithValue(HKEY_CURRENT_USER, std::wstring(kPackageRegistryKey) + L"\\A\\B") ||
        !CreateKeyWithValue(HKEY_CURRENT_USER, std::wstring(kPackageRegistryKey) + L"\\A\\C") ||
        !CreateKeyWithValue(HKEY_CURRENT_USER, std::wstring(kPackageRegistryKey) + L"\\Settings") ||
        !CreateKeyWithValue(HKEY_CURRENT_USER, kKeptRegistryKey) ||
        !CreateKeyWithValue(HKEY_USERS, std::wstring(L".DEFAULT\\") + kKeptRegistryKey))
        Fail("the registry keys cannot be made");
    if (!RegisterComponent(InInstallDir(L"UninstallTestComponent.dll")))
        Fail("the component does not register");

    entry_.reset(new ScopedUninstallEntry(kInstallKey));
    if (!entry_->Set(L"DisplayName", options_.title) || !entry_->Set(L"MenuDir", menuDir_) ||
        !entry_->Set(L"UninstallString", L"\"" + InInstallDir(L"install.exe") + L"\" /r"))
        Fail("the uninstall entry cannot be written");
}

}  // namespace uninstall_testing

