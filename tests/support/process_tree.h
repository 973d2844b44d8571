// A program together with the processes it starts: Setup.exe hands its work
// to x64\Setup64.exe, whose message boxes belong to that child process. These
// helpers find and answer the boxes of the whole tree.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace testing_support {

// Process ids of rootPid and of every process started by it (or by those),
// as far as they are running now.
std::vector<DWORD> ProcessTree(DWORD rootPid);

// File name of the program that runs as pid ("Setup64.exe"); "" when gone.
std::wstring ProcessImageName(DWORD pid);

// The first visible dialog or message box ("#32770") of any process in the
// tree of rootPid; polls until timeoutMs has passed. nullptr when none came.
// ownerPid (optional) receives the process that shows it.
HWND WaitForDialogInTree(DWORD rootPid, DWORD timeoutMs, DWORD* ownerPid = nullptr);

// A message box that was answered during a run.
struct AnsweredBox {
    DWORD pid = 0;
    std::wstring program;  // file name of the process that showed it
    std::wstring caption;
    std::wstring text;
};

// Closes the box with the given button and waits (up to timeoutMs) until it is gone.
bool PressAndWaitGone(HWND box, int buttonId, DWORD timeoutMs);

// Reads the caption and text of box and presses OK.
AnsweredBox AnswerBox(HWND box, DWORD ownerPid);

// Outcome of a program run whose message boxes were all answered with OK.
struct AnsweredRun {
    bool started = false;
    bool ended = false;  // false: still running at the time-out (then terminated)
    DWORD exitCode = 0;
    std::vector<AnsweredBox> boxes;
};

// Starts commandLine, presses OK on every message box that it or its child
// processes show, and waits for its end (at most timeoutMs).
AnsweredRun RunAnsweringBoxes(const std::wstring& commandLine, DWORD timeoutMs);

// Same, for a program that is already running (handle and id of its process).
void AnswerBoxesUntilExit(HANDLE process, DWORD pid, DWORD timeoutMs, AnsweredRun* run);

}  // namespace testing_support
