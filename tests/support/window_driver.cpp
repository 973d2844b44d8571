#include "window_driver.h"

#include <cstdio>

namespace testing_support {

RunningProgram::RunningProgram(RunningProgram&& other) noexcept
    : process_(other.process_), processId_(other.processId_)
{
    other.process_ = nullptr;
    other.processId_ = 0;
}

RunningProgram& RunningProgram::operator=(RunningProgram&& other) noexcept
{
    if (this != &other) {
        Terminate();
        if (process_)
            CloseHandle(process_);
        process_ = other.process_;
        processId_ = other.processId_;
        other.process_ = nullptr;
        other.processId_ = 0;
    }
    return *this;
}

RunningProgram::~RunningProgram()
{
    Terminate();
    if (process_)
        CloseHandle(process_);
}

bool RunningProgram::Start(const std::wstring& commandLine, const std::wstring& workingDir)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // In a full parallel run Wine's CreateProcessW once failed to start a
    // program that had started from the same file a moment before, and we
    // could not make it fail again. So a failed start is tried twice more;
    // each failure is reported, and a program that cannot start still fails.
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (attempt > 1)
            Sleep(500);
        std::vector<wchar_t> line(commandLine.begin(), commandLine.end());  // CreateProcessW may write into it
        line.push_back(L'\0');
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            processId_ = info.dwProcessId;
            return true;
        }
        fwprintf(stderr, L"CreateProcessW failed with error %lu (try %d of 3): %ls\n", GetLastError(), attempt,
                 commandLine.c_str());
    }
    return false;
}

bool RunningProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    if (exitCode)
        *exitCode = code;
    return true;
}

bool RunningProgram::HasExited()
{
    return !process_ || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

void RunningProgram::Terminate()
{
    if (process_ && !HasExited()) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, 5000);
    }
}

namespace {

struct WindowSearch {
    DWORD pid;
    const wchar_t* className;
    const wchar_t* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->pid || !IsWindowVisible(window))
        return TRUE;
    if (search->className) {
        wchar_t cls[64] = {};
        GetClassNameW(window, cls, 64);
        if (lstrcmpW(cls, search->className) != 0)
            return TRUE;
    }
    if (search->title && WindowText(window) != search->title)
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid)
{
    WindowSearch search{pid, nullptr, nullptr, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs, const wchar_t* title)
{
    // A program that has ended shows no more windows: the wait ends with it,
    // and a crash is named rather than waited out.
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    for (;;) {
        const bool ended = process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        WindowSearch search{pid, className, title, {}};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found.empty()) {
            window = search.found.front();
            break;
        }
        if (ended) {
            DWORD code = 0;
            if (GetExitCodeProcess(process, &code) && IsExceptionCode(code))
                std::fprintf(stderr, "process %lu ended with exception 0x%08lX before its window came\n", pid, code);
            break;
        }
        if (GetTickCount() - start >= timeoutMs)
            break;
        Sleep(50);
    }
    if (process)
        CloseHandle(process);
    return window;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[2048] = {};
    // WM_GETTEXT works across processes; GetWindowTextW would not read a
    // control of another process.
    SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ControlText(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control ? WindowText(control) : std::wstring();
}

std::wstring MessageBoxText(HWND box)
{
    return ControlText(box, 0xFFFF);
}

bool ClickButton(HWND dialog, int buttonId)
{
    HWND button = GetDlgItem(dialog, buttonId);
    if (!button)
        return false;
    // Posted, not sent: the click may open a modal box in the other process,
    // and a sent message would wait for that box to close.
    return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

bool IsControlEnabled(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowEnabled(control);
}

bool IsControlVisible(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowVisible(control);
}

bool AnswerMessageBox(DWORD pid, DWORD timeoutMs, int buttonId, MessageBoxSeen* seen)
{
    HWND box = WaitForDialog(pid, timeoutMs);
    if (!box)
        return false;
    if (seen) {
        seen->caption = WindowText(box);
        seen->text = MessageBoxText(box);
    }
    return ClickButton(box, buttonId);
}

}  // namespace testing_support
