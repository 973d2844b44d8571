// Drives the real programs from a test: starts them, finds their top-level
// windows (message boxes, dialogs, property sheets), reads texts and presses
// buttons the way a user would.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace testing_support {

// A started program; the handles are closed when it goes out of scope. A
// program still running then is terminated so that it cannot disturb the next test.
class RunningProgram {
public:
    RunningProgram() = default;
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    RunningProgram(RunningProgram&& other) noexcept;
    RunningProgram& operator=(RunningProgram&& other) noexcept;
    ~RunningProgram();

    // Starts commandLine (program path first, quoted where needed) in
    // workingDir (empty: the test's current directory). False when
    // CreateProcessW fails three times.
    bool Start(const std::wstring& commandLine, const std::wstring& workingDir = L"");

    DWORD Id() const { return processId_; }
    HANDLE Handle() const { return process_; }

    // Waits for the end of the program; true and its exit code when it ended in time.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    bool HasExited();
    void Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// An exit code that is an exception code (0xC0000005 and the like): the
// program crashed.
inline bool IsExceptionCode(DWORD exitCode)
{
    return (exitCode & 0xF0000000) == 0xC0000000;
}

// The first visible top-level window of process pid whose class is className
// (nullptr: any class) and, if title is given, whose caption equals it;
// polls until timeoutMs has passed. nullptr when none came, at once when the
// process ended (a crash is reported on stderr).
HWND WaitForWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs,
                   const wchar_t* title = nullptr);

// Every visible top-level window of process pid.
std::vector<HWND> TopLevelWindows(DWORD pid);

// A message box or dialog of process pid ("#32770").
inline HWND WaitForDialog(DWORD pid, DWORD timeoutMs, const wchar_t* title = nullptr)
{
    return WaitForWindow(pid, L"#32770", timeoutMs, title);
}

std::wstring WindowText(HWND window);
// Text of the dialog's child control with the given identifier ("" when absent).
std::wstring ControlText(HWND dialog, int controlId);
// The message text of a message box (its static control 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Presses the button with the given identifier as a click would (BM_CLICK).
bool ClickButton(HWND dialog, int buttonId);
bool IsControlEnabled(HWND dialog, int controlId);
bool IsControlVisible(HWND dialog, int controlId);

// Waits for a message box of pid, returns its caption and text and presses
// the given button. False when no box came in time.
struct MessageBoxSeen {
    std::wstring caption;
    std::wstring text;
};
bool AnswerMessageBox(DWORD pid, DWORD timeoutMs, int buttonId, MessageBoxSeen* seen);

}  // namespace testing_support
