// screenshot_driver: walks install.exe, its uninstall and the driver
// installer the way a user does and saves each window on the way as a BMP
// file (scripts/screenshots turns them into the guide's pictures).
//
//   screenshot_driver install   OUT_DIR NAME_PREFIX INSTALL_EXE HELD_FILE OPENED_NAME
//   screenshot_driver uninstall OUT_DIR NAME_PREFIX INSTALL_KEY
//   screenshot_driver setup     OUT_DIR NAME SETUP_EXE
//
// install: HELD_FILE, a file of the script relative to the install folder,
// is put there older than the medium's and held open, as an editor would:
// the run stops at its message with the bar partly filled, and the progress
// picture is taken then. OPENED_NAME names the picture of the first box of
// the Setup.exe that "Open" starts after the completion box; the run ends
// when that has ended too.
//
// Exit code 0 when every window came, 1 when a step did not come, 2 on wrong use.
#include <windows.h>
#include <prsht.h>

#include <cstdio>
#include <string>

#include "install_wizard_driver.h"
#include "process_tree.h"
#include "sample_medium.h"
#include "test_files.h"
#include "uninstall_driver.h"
#include "window_capture.h"

using namespace testing_support;

namespace {

const DWORD kStepMs = 60000;
const int kFolderFieldId = 1001;
const int kHintId = 1010;
const int kFinishButtonId = 0x3025;
const int kUninstallStatusId = 1009;
const int kUninstallFinishId = IDCANCEL;

struct Shots {
    std::wstring dir;
    std::wstring prefix;

    bool Take(HWND window, const wchar_t* name, DWORD paintMs = 700) const
    {
        const std::wstring path = dir + L"\\" + prefix + name + L".bmp";
        const bool saved = screenshots::CaptureWindow(window, path, paintMs);
        wprintf(L"%ls %ls\n", saved ? L"saved" : L"NOT SAVED", path.c_str());
        return saved;
    }
};

int Fail(const char* step)
{
    printf("step did not come: %s\n", step);
    return 1;
}

template <class Test>
bool WaitUntil(DWORD timeoutMs, Test test)
{
    for (DWORD start = GetTickCount(); !test(); Sleep(50)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
    }
    return true;
}

// Answers every box of the process tree with OK until the program ends.
void FinishProgram(HANDLE process, DWORD pid)
{
    AnsweredRun run;
    AnswerBoxesUntilExit(process, pid, kStepMs, &run);
    for (const AnsweredBox& box : run.boxes)
        wprintf(L"answered %ls: [%ls] %ls\n", box.program.c_str(), box.caption.c_str(), box.text.c_str());
}

// A file of the install folder that the user has open: a copy of the
// medium's, a day older so that the run replaces it, held without sharing
// so that the replacement fails and the run waits at its message.
class HeldFile {
public:
    HeldFile(const std::wstring& medium, const std::wstring& folder, const std::wstring& name)
    {
        const std::wstring source = JoinPaths(medium, name);
        const std::wstring target = JoinPaths(folder, name);
        if (CreateDirectories(target.substr(0, target.find_last_of(L'\\'))) &&
            CopyFileW(source.c_str(), target.c_str(), FALSE) &&
            SetFileWriteTime(target, ShiftTime(FileWriteTime(source), -24 * 3600)))
            file_ = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile() { Release(); }
    bool Held() const { return file_ != INVALID_HANDLE_VALUE; }
    void Release()
    {
        if (Held())
            CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

// Saves a box of the driver installer as name and answers it with OK.
void ShootDriverBox(const Shots& shots, HWND box, const std::wstring& name)
{
    wprintf(L"box: [%ls] %ls\n", WindowText(box).c_str(), MessageBoxText(box).c_str());
    Shots{shots.dir, name}.Take(box, L"");
    PressAndWaitGone(box, IDOK, kStepMs);
}

// The Setup.exe that "Open" started: its first box is saved, every box
// answered with OK until it ends.
int ShootOpenedSetup(const Shots& shots, const RunningProgram& install, const std::wstring& name)
{
    const DWORD pid = WaitForOpenedSetup(install.Id(), kStepMs);
    HANDLE setup = pid ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid) : nullptr;
    if (!setup)
        return Fail("Setup.exe opened after the completion box");
    HWND box = WaitForDialogInTree(pid, 3 * kStepMs);
    if (box)
        ShootDriverBox(shots, box, name);
    FinishProgram(setup, pid);
    CloseHandle(setup);
    return box ? 0 : Fail("box of the opened Setup.exe");
}

int ShootInstall(const Shots& shots, const std::wstring& installExe, const std::wstring& heldName,
                 const std::wstring& openedName)
{
    const size_t slash = installExe.find_last_of(L'\\');
    const std::wstring medium = slash == std::wstring::npos ? L"" : installExe.substr(0, slash);
    RunningProgram install;
    if (!install.Start(L"\"" + installExe + L"\"", medium))
        return Fail("install.exe start");
    HWND sheet = WaitForWizard(install.Id(), kStepMs);
    HWND destination = sheet ? WaitForWizardPage(sheet, DestinationPageMark, kStepMs) : nullptr;
    if (!destination)
        return Fail("destination page");
    WaitUntil(kStepMs, [&] { return GetWindowTextLengthW(sheet) > 0; });
    shots.Take(sheet, L"destination");
    HeldFile held(medium, ControlText(destination, kFolderFieldId), heldName);
    if (!held.Held())
        return Fail("held file in the install folder");

    PressWizardButton(sheet, PSBTN_NEXT);
    if (!WaitForWizardPage(sheet, MenuOptionsPageMark, kStepMs))
        return Fail("menu options page");
    shots.Take(sheet, L"menu-options");

    PressWizardButton(sheet, PSBTN_NEXT);
    HWND page = WaitForWizardPage(sheet, ProgressPageMark, kStepMs);
    HWND inUse = page ? WaitForMessageBox(install.Id(), kStepMs) : nullptr;
    if (!inUse)
        return Fail("message of the held file during the run");
    // The run waits for the answer: the picture shows its bar as far as it
    // has come, without the box in front.
    ShowWindow(inUse, SW_HIDE);
    shots.Take(sheet, L"progress");
    ShowWindow(inUse, SW_SHOW);
    held.Release();
    // That message and any other of the run are answered with OK.
    for (HWND box = inUse; box;) {
        wprintf(L"answered during the run: %ls\n", MessageBoxText(box).c_str());
        PressAndWaitGone(box, IDOK, kStepMs);
        box = nullptr;
        if (!WaitUntil(kStepMs, [&] { return IsControlVisible(page, kHintId) || (box = WaitForMessageBox(install.Id(), 0)); }))
            return Fail("end of the run");
    }
    WaitUntil(kStepMs, [&] { return IsControlEnabled(sheet, kFinishButtonId); });
    shots.Take(sheet, L"finished");

    PressWizardButton(sheet, PSBTN_FINISH);
    HWND completion = WaitForMessageBox(install.Id(), kStepMs);
    if (!completion)
        return Fail("completion box");
    shots.Take(completion, L"completion");
    PressAndWaitGone(completion, IDOK, kStepMs);
    const int opened = ShootOpenedSetup(shots, install, openedName);
    FinishProgram(install.Handle(), install.Id());
    return opened;
}

BOOL CALLBACK FindUninstallDialog(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (!IsWindowVisible(window) || lstrcmpW(name, L"#32770") != 0 || !GetDlgItem(window, kUninstallStatusId))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

int ShootUninstall(const Shots& shots, const std::wstring& installKey)
{
    const std::wstring command = RegisteredUninstallCommand(installKey);
    if (command.empty())
        return Fail("registered uninstall command");
    RunningProgram starter;
    if (!starter.Start(command))
        return Fail("uninstall start");
    HWND confirmation = WaitForDialogInTree(starter.Id(), kStepMs);
    if (!confirmation)
        return Fail("uninstall confirmation");
    shots.Take(confirmation, L"confirmation");
    PressAndWaitGone(confirmation, IDOK, kStepMs);

    HWND dialog = nullptr;
    if (!WaitUntil(kStepMs, [&] { return !EnumWindows(FindUninstallDialog, reinterpret_cast<LPARAM>(&dialog)) && dialog; }))
        return Fail("uninstall dialog");
    DWORD copyPid = 0;
    GetWindowThreadProcessId(dialog, &copyPid);
    // Boxes of the run (leftovers, files in use) are answered with OK.
    while (!IsControlEnabled(dialog, kUninstallFinishId)) {
        for (HWND window : TopLevelWindows(copyPid)) {
            if (window != dialog && GetDlgItem(window, 0xFFFF)) {
                wprintf(L"answered during the uninstall: %ls\n", MessageBoxText(window).c_str());
                PressAndWaitGone(window, IDOK, kStepMs);
            }
        }
        if (!IsWindow(dialog))
            return Fail("end of the uninstall");
        Sleep(50);
    }
    shots.Take(dialog, L"dialog");
    ClickButton(dialog, kUninstallFinishId);
    return 0;
}

int ShootSetup(const Shots& shots, const std::wstring& setupExe)
{
    RunningProgram setup;
    if (!setup.Start(L"\"" + setupExe + L"\""))
        return Fail("driver installer start");
    HWND box = WaitForDialogInTree(setup.Id(), 3 * kStepMs);
    if (!box)
        return Fail("driver installer box");
    ShootDriverBox(shots, box, shots.prefix);
    FinishProgram(setup.Handle(), setup.Id());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const int arguments = mode == L"install" ? 7 : 5;
    if (argc != arguments || (mode != L"install" && mode != L"uninstall" && mode != L"setup")) {
        fprintf(stderr, "usage: screenshot_driver install OUT_DIR NAME_PREFIX INSTALL_EXE HELD_FILE OPENED_NAME\n"
                        "       screenshot_driver uninstall OUT_DIR NAME_PREFIX INSTALL_KEY\n"
                        "       screenshot_driver setup OUT_DIR NAME SETUP_EXE\n");
        return 2;
    }
    const Shots shots{argv[2], argv[3]};
    if (mode == L"install")
        return ShootInstall(shots, argv[4], argv[5], argv[6]);
    if (mode == L"uninstall")
        return ShootUninstall(shots, argv[4]);
    return ShootSetup(shots, argv[4]);
}
