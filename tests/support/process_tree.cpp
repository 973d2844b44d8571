#include "process_tree.h"

#include <tlhelp32.h>

#include <algorithm>

#include "window_driver.h"

namespace testing_support {

namespace {

struct ProcessEntry {
    DWORD pid;
    DWORD parent;
    std::wstring name;
};

std::vector<ProcessEntry> SnapshotProcesses()
{
    std::vector<ProcessEntry> entries;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return entries;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        entries.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    CloseHandle(snapshot);
    return entries;
}

bool Contains(const std::vector<DWORD>& pids, DWORD pid)
{
    return std::find(pids.begin(), pids.end(), pid) != pids.end();
}

struct DialogSearch {
    const std::vector<DWORD>* pids;
    HWND found;
    DWORD owner;
};

BOOL CALLBACK FindDialogOfTree(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (!Contains(*search->pids, owner) || !IsWindowVisible(window))
        return TRUE;
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0)
        return TRUE;
    search->found = window;
    search->owner = owner;
    return FALSE;
}

}  // namespace

std::vector<DWORD> ProcessTree(DWORD rootPid)
{
    const std::vector<ProcessEntry> entries = SnapshotProcesses();
    std::vector<DWORD> tree{rootPid};
    // Repeat until no new child turns up, so grandchildren are found whatever
    // the order of the snapshot.
    for (bool grew = true; grew;) {
        grew = false;
        for (const ProcessEntry& entry : entries) {
            if (entry.pid != rootPid && Contains(tree, entry.parent) && !Contains(tree, entry.pid)) {
                tree.push_back(entry.pid);
                grew = true;
            }
        }
    }
    return tree;
}

std::wstring ProcessImageName(DWORD pid)
{
    for (const ProcessEntry& entry : SnapshotProcesses()) {
        if (entry.pid == pid) {
            const size_t cut = entry.name.find_last_of(L"\\/");
            return cut == std::wstring::npos ? entry.name : entry.name.substr(cut + 1);
        }
    }
    return std::wstring();
}

HWND WaitForDialogInTree(DWORD rootPid, DWORD timeoutMs, DWORD* ownerPid)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const std::vector<DWORD> pids = ProcessTree(rootPid);
        DialogSearch search{&pids, nullptr, 0};
        EnumWindows(FindDialogOfTree, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            if (ownerPid)
                *ownerPid = search.owner;
            return search.found;
        }
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

bool PressAndWaitGone(HWND box, int buttonId, DWORD timeoutMs)
{
    if (!ClickButton(box, buttonId))
        return false;
    const DWORD start = GetTickCount();
    while (IsWindow(box) && IsWindowVisible(box)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

AnsweredBox AnswerBox(HWND box, DWORD ownerPid)
{
    AnsweredBox answered;
    answered.pid = ownerPid;
    answered.program = ProcessImageName(ownerPid);
    answered.caption = WindowText(box);
    answered.text = MessageBoxText(box);
    PressAndWaitGone(box, IDOK, 5000);
    return answered;
}

void AnswerBoxesUntilExit(HANDLE process, DWORD pid, DWORD timeoutMs, AnsweredRun* run)
{
    const DWORD start = GetTickCount();
    HWND last = nullptr;
    for (;;) {
        DWORD owner = 0;
        HWND box = WaitForDialogInTree(pid, 0, &owner);
        // A box that did not close on the first press is reported once only.
        if (box && box != last) {
            run->boxes.push_back(AnswerBox(box, owner));
            last = box;
        } else if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0)
            break;
        if (GetTickCount() - start >= timeoutMs)
            return;
    }
    run->ended = GetExitCodeProcess(process, &run->exitCode) != FALSE;
}

AnsweredRun RunAnsweringBoxes(const std::wstring& commandLine, DWORD timeoutMs)
{
    AnsweredRun run;
    RunningProgram program;
    run.started = program.Start(commandLine);
    if (run.started)
        AnswerBoxesUntilExit(program.Handle(), program.Id(), timeoutMs, &run);
    return run;
}

}  // namespace testing_support
