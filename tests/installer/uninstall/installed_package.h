// An installed package as install.exe leaves it, made directly by the test:
// the install folder with the program, the script copy and the listed files,
// a file in the system directory and one in the Windows directory, the
// program-menu group, the desktop and Startup shortcuts, the [Reg] trees, a
// registered component and the uninstall entry. Whatever the uninstall does
// not remove is cleaned up on destruction.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

#include "registry_fixture.h"
#include "test_files.h"

namespace uninstall_testing {

extern const wchar_t kInstallKey[];
extern const wchar_t kKeptRegistryKey[];     // HKCU key named only by rejected [Reg] entries
extern const wchar_t kPackageRegistryKey[];  // HKCU tree of [Reg] entry 1
extern const wchar_t kComponentKey[];        // HKLM key the component's DllRegisterServer writes

struct PackageOptions {
    std::wstring title = L"Uninstall Test Tool";
    // Lines added to section [Install], such as "RemoveNone=1\r\n".
    std::string installLines;
    // Lines added to section [Reg] after entry 1.
    std::string regLines;
};

class InstalledPackage {
public:
    explicit InstalledPackage(const PackageOptions& options = PackageOptions());
    ~InstalledPackage();
    InstalledPackage(const InstalledPackage&) = delete;
    InstalledPackage& operator=(const InstalledPackage&) = delete;

    // Empty when the package was made; else what failed.
    const std::string& Failure() const { return failure_; }

    const std::wstring& Title() const { return options_.title; }
    const std::wstring& InstallDir() const { return installDir_; }  // no trailing backslash
    std::wstring InInstallDir(const std::wstring& name) const { return installDir_ + L"\\" + name; }
    const std::wstring& MenuDir() const { return menuDir_; }
    std::wstring MenuParent() const;    // the vendor folder the group alone filled
    std::wstring ProgramsDir() const;   // holds another program's shortcut too
    std::wstring DesktopLink() const;
    std::wstring StartupLink() const;
    const std::wstring& SystemFile() const { return systemFile_; }    // the "S!" entry
    const std::wstring& WindowsFile() const { return windowsFile_; }  // the "W!" entry
    const std::wstring& SystemCopy() const { return systemCopy_; }    // install.exe in the system directory
    const std::wstring& Marker() const { return marker_; }

    // The files of the [Install] entries, the script copy and the program.
    static std::vector<std::wstring> InstalledFiles();

private:
    void Make();
    void MakeFiles();
    void MakeShortcuts();
    void MakeRegistry();
    void Fail(const std::string& what);

    PackageOptions options_;
    testing_support::ScratchDir root_;
    std::wstring installDir_;
    std::wstring menuDir_;
    std::wstring systemFile_;
    std::wstring windowsFile_;
    std::wstring systemCopy_;
    std::wstring marker_;
    std::vector<std::unique_ptr<installer_testing::ScopedRegistryValue>> shellFolders_;
    std::unique_ptr<installer_testing::ScopedUninstallEntry> entry_;
    std::string failure_;
};

}  // namespace uninstall_testing
