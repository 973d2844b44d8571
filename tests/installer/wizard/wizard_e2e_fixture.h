// What the end-to-end runs of install.exe's wizard share: the user's shell
// folders pointed at scratch folders, a medium folder with install.exe and
// its script, and readers of what the install left behind.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

#include "registry_fixture.h"
#include "registry_values.h"
#include "test_files.h"
#include "window_driver.h"

namespace wizard_testing {

const DWORD kWaitMs = 30000;

// The shell folders that install reads (start menu, programs, startup,
// desktop, documents) as folders of a scratch folder, for one test.
class ScopedShellFolders {
public:
    ScopedShellFolders();
    std::wstring StartMenu() const { return dir_ / L"Start Menu"; }
    std::wstring Programs() const { return dir_ / L"Start Menu\\Programs"; }
    std::wstring Startup() const { return dir_ / L"Start Menu\\Programs\\Startup"; }
    std::wstring Desktop() const { return dir_ / L"Desktop"; }
    bool Ready() const { return ready_; }

private:
    testing_support::ScratchDir dir_{L"shell"};
    std::vector<std::unique_ptr<installer_testing::ScopedRegistryValue>> values_;
    bool ready_ = true;
};

// A medium folder: install.exe copied under programName beside the files
// that a test writes.
class Medium {
public:
    explicit Medium(const std::wstring& programName = L"install.exe");
    bool Ready() const { return ready_; }
    const std::wstring& Dir() const { return dir_.Path(); }
    std::wstring operator/(const std::wstring& relative) const { return dir_ / relative; }
    bool Write(const std::wstring& relative, const std::string& bytes) const;
    bool Start(testing_support::RunningProgram* program) const;

private:
    testing_support::ScratchDir dir_{L"medium "};
    std::wstring program_;
    bool ready_ = false;
};

// pattern with its one "%s" or "%u" replaced by value.
std::wstring FormatWith(const std::wstring& pattern, const std::wstring& value);

std::wstring SystemDirectory();
std::wstring WindowsDirectory();

// The uninstall entry's key path below HKEY_LOCAL_MACHINE.
std::wstring UninstallEntryKey(const std::wstring& installKey);

bool IsReadOnly(const std::wstring& path);

}  // namespace wizard_testing
