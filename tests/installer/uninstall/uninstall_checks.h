// What the uninstall tests share: one uninstall run from the registered
// command to the end of the copy, and checks of what it must leave behind.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "registry_fixture.h"
#include "registry_values.h"
#include "uninstall_driver.h"

namespace uninstall_testing {

// One uninstall from the start of commandLine to the end of the copy.
struct UninstallResult {
    std::string failure;  // empty when every step came
    testing_support::MessageBoxSeen confirmation;
    std::wstring dialogCaption;  // of the uninstall dialog found
    bool finishDisabledAtFirst = false;
    std::vector<testing_support::MessageBoxSeen> boxes;  // of the uninstall dialog
    std::wstring status;
    DWORD exitCode = 0;
};

// Starts commandLine (the registered command, or a program that runs it),
// confirms, waits for the dialog captioned dialogCaption (empty: found by its
// status line), answers its boxes
// with answers (then OK) and presses "Finish" when the run is over.
UninstallResult RunUninstallToTheEnd(const std::wstring& commandLine, const std::wstring& dialogCaption,
                                     const std::vector<int>& answers = {});

// The English caption of the uninstall dialog.
std::wstring UninstallCaption(const std::wstring& title);

// The prefix's list of deletions at the next restart, put back as it was
// when the test ends: every uninstall adds the copy in the system directory.
// That copy goes too, as a restart would take it, so that a later test finds
// none there.
class ScopedPendingDeletions {
public:
    ScopedPendingDeletions();
    ~ScopedPendingDeletions();

private:
    installer_testing::ScopedRegistryValue value_;
};

// fileName in the system directory is to be deleted at the next restart:
// in the system's list of pending operations or in "wininit.ini".
void ExpectScheduledForDeletion(const std::wstring& fileName);

}  // namespace uninstall_testing
