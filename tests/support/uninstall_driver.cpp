#include "uninstall_driver.h"

#include "process_tree.h"

namespace testing_support {

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const int kUninstallStatusId = 1009;
const int kFinishId = IDCANCEL;

HKEY OpenUninstallEntry(const std::wstring& key)
{
    HKEY entry = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kUninstallKey + key).c_str(), 0, KEY_READ, &entry) !=
        ERROR_SUCCESS)
        return nullptr;
    return entry;
}

bool IsDialogClass(HWND window)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

// A visible top-level window of the uninstall dialog's class with its status line.
BOOL CALLBACK FindDialogWithStatus(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window) || !IsDialogClass(window) || !GetDlgItem(window, kUninstallStatusId))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND FindUninstallDialog(const std::wstring& caption)
{
    if (!caption.empty())
        return FindWindowW(L"#32770", caption.c_str());
    HWND found = nullptr;
    EnumWindows(FindDialogWithStatus, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

std::wstring RegisteredUninstallCommand(const std::wstring& key)
{
    HKEY entry = OpenUninstallEntry(key);
    if (!entry)
        return L"";
    wchar_t value[1024] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    LONG result = RegQueryValueExW(entry, L"UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(entry);
    return result == ERROR_SUCCESS && type == REG_SZ ? value : L"";
}

bool UninstallEntryExists(const std::wstring& key)
{
    HKEY entry = OpenUninstallEntry(key);
    if (entry)
        RegCloseKey(entry);
    return entry != nullptr;
}

UninstallDriver::~UninstallDriver()
{
    if (!copy_)
        return;
    if (WaitForSingleObject(copy_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(copy_, 0xDEAD);
        WaitForSingleObject(copy_, 5000);
    }
    CloseHandle(copy_);
}

bool UninstallDriver::Start(const std::wstring& commandLine, const std::wstring& dialogCaption, DWORD timeoutMs)
{
    return StartUntilConfirmation(commandLine, timeoutMs) && ConfirmAndWaitForDialog(dialogCaption, timeoutMs);
}

bool UninstallDriver::StartUntilConfirmation(const std::wstring& commandLine, DWORD timeoutMs)
{
    if (!starter_.Start(commandLine)) {
        failure_ = "the uninstall command did not start";
        return false;
    }
    confirmationBox_ = WaitForDialogInTree(starter_.Id(), timeoutMs);
    if (!confirmationBox_) {
        failure_ = "no confirmation came";
        return false;
    }
    confirmation_.caption = WindowText(confirmationBox_);
    confirmation_.text = MessageBoxText(confirmationBox_);
    return true;
}

bool UninstallDriver::ConfirmAndWaitForDialog(const std::wstring& dialogCaption, DWORD timeoutMs)
{
    if (!PressAndWaitGone(confirmationBox_, IDOK, timeoutMs)) {
        failure_ = "the confirmation did not close";
        return false;
    }
    // The copy runs from the system directory and its starter ends early, so
    // the dialog is found by its caption.
    const DWORD start = GetTickCount();
    while (!dialog_ || !IsWindowVisible(dialog_)) {
        if (GetTickCount() - start >= timeoutMs) {
            failure_ = "no uninstall dialog came";
            return false;
        }
        Sleep(20);
        dialog_ = FindUninstallDialog(dialogCaption);
    }
    GetWindowThreadProcessId(dialog_, &copyPid_);
    copy_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, copyPid_);
    if (!copy_) {
        failure_ = "the copy's process cannot be opened";
        return false;
    }
    return true;
}

HWND UninstallDriver::FindBoxOfCopy() const
{
    for (HWND window : TopLevelWindows(copyPid_)) {
        if (window != dialog_ && IsDialogClass(window))
            return window;
    }
    return nullptr;
}

bool UninstallDriver::WaitForRunEnd(const std::vector<int>& answers, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!FinishEnabled()) {
        if (GetTickCount() - start >= timeoutMs) {
            failure_ = "the uninstall run did not end";
            return false;
        }
        HWND box = FindBoxOfCopy();
        if (!box) {
            Sleep(20);
            continue;
        }
        MessageBoxSeen seen;
        seen.caption = WindowText(box);
        seen.text = MessageBoxText(box);
        int answer = boxes_.size() < answers.size() ? answers[boxes_.size()] : IDOK;
        boxes_.push_back(seen);
        if (!PressAndWaitGone(box, answer, timeoutMs)) {
            failure_ = "a message box did not close";
            return false;
        }
    }
    return true;
}

bool UninstallDriver::FinishEnabled() const
{
    return IsControlEnabled(dialog_, kFinishId);
}

std::wstring UninstallDriver::Status() const
{
    return ControlText(dialog_, kUninstallStatusId);
}

bool UninstallDriver::PressFinish(DWORD timeoutMs, DWORD* exitCode)
{
    return ClickButton(dialog_, kFinishId) && WaitForCopyEnd(timeoutMs, exitCode);
}

bool UninstallDriver::SendFinishCommand(DWORD timeoutMs, DWORD* exitCode)
{
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(kFinishId, BN_CLICKED), 0);
    return WaitForCopyEnd(timeoutMs, exitCode);
}

bool UninstallDriver::WaitForCopyEnd(DWORD timeoutMs, DWORD* exitCode)
{
    if (WaitForSingleObject(copy_, timeoutMs) != WAIT_OBJECT_0) {
        failure_ = "the copy did not end after Finish";
        return false;
    }
    return GetExitCodeProcess(copy_, exitCode) != FALSE;
}

}  // namespace testing_support
