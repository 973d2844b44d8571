// screenshot_driver: walks install.exe, its uninstall and the driver
// installer the way a user does and saves each window on the way as a BMP
// file (scripts/screenshots turns them into the guide's pictures).
//
//   screenshot_driver install   OUT_DIR NAME_PREFIX INSTALL_EXE
//   screenshot_driver uninstall OUT_DIR NAME_PREFIX INSTALL_KEY
//   screenshot_driver setup     OUT_DIR NAME SETUP_EXE PACKAGE_DIR [ARGUMENT...]
//
// Exit code 0 when every window came, 1 when a step did not come, 2 on wrong use.
#include <windows.h>
#include <prsht.h>

#include <cstdio>
#include <string>

#include "install_wizard_driver.h"
#include "process_tree.h"
#include "uninstall_driver.h"
#include "window_capture.h"

using namespace testing_support;

namespace {

const DWORD kStepMs = 60000;
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
void FinishProgram(RunningProgram* program)
{
    AnsweredRun run;
    AnswerBoxesUntilExit(program->Handle(), program->Id(), kStepMs, &run);
    for (const AnsweredBox& box : run.boxes)
        wprintf(L"answered %ls: [%ls] %ls\n", box.program.c_str(), box.caption.c_str(), box.text.c_str());
}

int ShootInstall(const Shots& shots, const std::wstring& installExe)
{
    const size_t slash = installExe.find_last_of(L'\\');
    const std::wstring medium = slash == std::wstring::npos ? L"" : installExe.substr(0, slash);
    RunningProgram install;
    if (!install.Start(L"\"" + installExe + L"\"", medium))
        return Fail("install.exe start");
    HWND sheet = WaitForWizard(install.Id(), kStepMs);
    if (!sheet || !WaitForWizardPage(sheet, DestinationPageMark, kStepMs))
        return Fail("destination page");
    WaitUntil(kStepMs, [&] { return GetWindowTextLengthW(sheet) > 0; });
    shots.Take(sheet, L"destination");

    PressWizardButton(sheet, PSBTN_NEXT);
    if (!WaitForWizardPage(sheet, MenuOptionsPageMark, kStepMs))
        return Fail("menu options page");
    shots.Take(sheet, L"menu-options");

    PressWizardButton(sheet, PSBTN_NEXT);
    HWND page = WaitForWizardPage(sheet, ProgressPageMark, kStepMs);
    if (!page)
        return Fail("progress page");
    // The run is short: the picture is taken at once and shows it as far as
    // it has come.
    shots.Take(sheet, L"progress", 0);
    for (;;) {
        HWND box = nullptr;
        if (!WaitUntil(kStepMs, [&] { return IsControlVisible(page, kHintId) || (box = WaitForMessageBox(install.Id(), 0)); }))
            return Fail("end of the run");
        if (!box)
            break;
        wprintf(L"answered during the run: %ls\n", MessageBoxText(box).c_str());
        PressAndWaitGone(box, IDOK, kStepMs);
    }
    WaitUntil(kStepMs, [&] { return IsControlEnabled(sheet, kFinishButtonId); });
    shots.Take(sheet, L"finished");

    PressWizardButton(sheet, PSBTN_FINISH);
    HWND completion = WaitForMessageBox(install.Id(), kStepMs);
    if (!completion)
        return Fail("completion box");
    shots.Take(completion, L"completion");
    PressAndWaitGone(completion, IDOK, kStepMs);
    // "Open" starts the installed Setup.exe; its boxes are answered, not shown.
    FinishProgram(&install);
    return 0;
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

int ShootSetup(const Shots& shots, int argc, wchar_t** argv)
{
    std::wstring command = L"\"" + std::wstring(argv[4]) + L"\"";
    for (int i = 5; i < argc; ++i)
        command += L" \"" + std::wstring(argv[i]) + L"\"";
    RunningProgram setup;
    if (!setup.Start(command))
        return Fail("driver installer start");
    HWND box = WaitForDialogInTree(setup.Id(), 3 * kStepMs);
    if (!box)
        return Fail("driver installer box");
    wprintf(L"box: [%ls] %ls\n", WindowText(box).c_str(), MessageBoxText(box).c_str());
    shots.Take(box, L"");
    PressAndWaitGone(box, IDOK, kStepMs);
    FinishProgram(&setup);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: screenshot_driver install|uninstall|setup OUT_DIR NAME ARGUMENT...\n");
        return 2;
    }
    const std::wstring mode = argv[1];
    const Shots shots{argv[2], argv[3]};
    if (mode == L"install")
        return ShootInstall(shots, argv[4]);
    if (mode == L"uninstall")
        return ShootUninstall(shots, argv[4]);
    if (mode == L"setup")
        return ShootSetup(shots, argc, argv);
    fprintf(stderr, "unknown mode\n");
    return 2;
}
