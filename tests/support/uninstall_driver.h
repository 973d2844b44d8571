// Drives an uninstall of install.exe the way a user does it from the list of
// installed programs: the registered command (or a program that starts it)
// asks for confirmation, hands over to its copy in the system directory, and
// the copy's uninstall dialog runs the removal and waits for "Finish".
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "window_driver.h"

namespace testing_support {

// "UninstallString" of HKLM\Software\Microsoft\Windows\CurrentVersion\
// Uninstall\<key> as install.exe (32-bit) wrote it; "" when absent.
std::wstring RegisteredUninstallCommand(const std::wstring& key);
// True while that uninstall entry exists.
bool UninstallEntryExists(const std::wstring& key);

class UninstallDriver {
public:
    UninstallDriver() = default;
    UninstallDriver(const UninstallDriver&) = delete;
    UninstallDriver& operator=(const UninstallDriver&) = delete;
    // A copy still running is terminated.
    ~UninstallDriver();

    // Starts commandLine, answers the confirmation of it or of the program it
    // starts with OK and waits for the uninstall dialog captioned
    // dialogCaption (empty: any dialog with the status line, whatever language
    // it speaks). False (with the reason in Failure()) when a step did not come.
    bool Start(const std::wstring& commandLine, const std::wstring& dialogCaption, DWORD timeoutMs);

    // Start in two steps, for a look at the confirmation while it is open:
    // starts commandLine and waits for the confirmation (ConfirmationBox()),
    // then answers it and waits for the dialog.
    bool StartUntilConfirmation(const std::wstring& commandLine, DWORD timeoutMs);
    bool ConfirmAndWaitForDialog(const std::wstring& dialogCaption, DWORD timeoutMs);
    HWND ConfirmationBox() const { return confirmationBox_; }

    // Answers the dialog's message boxes with answers, box after box (IDOK
    // beyond them), until "Finish" is enabled. False on time-out.
    bool WaitForRunEnd(const std::vector<int>& answers, DWORD timeoutMs);

    // Presses "Finish" and waits for the copy to end.
    bool PressFinish(DWORD timeoutMs, DWORD* exitCode);
    // Sends the dialog the command of "Finish" (2) whether the button is
    // enabled or not, and waits for the copy to end.
    bool SendFinishCommand(DWORD timeoutMs, DWORD* exitCode);

    HWND Dialog() const { return dialog_; }
    bool FinishEnabled() const;
    std::wstring Status() const;  // the text of control 1009
    const MessageBoxSeen& Confirmation() const { return confirmation_; }
    const std::vector<MessageBoxSeen>& Boxes() const { return boxes_; }
    const std::string& Failure() const { return failure_; }

private:
    HWND FindBoxOfCopy() const;
    bool WaitForCopyEnd(DWORD timeoutMs, DWORD* exitCode);

    RunningProgram starter_;
    HANDLE copy_ = nullptr;
    DWORD copyPid_ = 0;
    HWND dialog_ = nullptr;
    HWND confirmationBox_ = nullptr;
    MessageBoxSeen confirmation_;
    std::vector<MessageBoxSeen> boxes_;
    std::string failure_;
};

}  // namespace testing_support
