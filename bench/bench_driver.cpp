// Times one program of the benchmark inside the running Wine prefix and
// prints one line of milliseconds on standard output.
//
//   bench_driver install <install.exe> <destination folder> <uninstall key>
//       Walks the install wizard: the destination given, no shortcuts.
//       Prints "startup run whole": program start to the first page shown,
//       the <Next> press that starts the run to <Finish> enabled, and
//       program start to exit (the completion box answered on the way).
//       The uninstall key is deleted first, so that every round is a first
//       installation.
//   bench_driver dialog <program> [arguments ...]
//       Program start to its first visible dialog (or message box), which is
//       then cancelled. Prints "startup whole".
//   bench_driver process <program> [arguments ...]
//       Program start to exit. Prints "whole".
//
// Windows are polled every millisecond. Exit code 0; 1 with the step that did
// not come on standard error; 2 for a usage error.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "install_wizard_driver.h"
#include "window_driver.h"

using namespace testing_support;

namespace {

const double kTimeoutMs = 300000;
const int kFinishButtonId = 0x3025;
const int kDesktopIconId = 1006;
const int kMessageTextId = 0xFFFF;

class Stopwatch {
public:
    Stopwatch()
    {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double Ms() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return double(now.QuadPart - start_.QuadPart) * 1000.0 / double(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

// Polls test every millisecond; the window it found, or nullptr after the time-out.
template <class Test>
HWND PollFor(Test test)
{
    Stopwatch waited;
    for (;;) {
        if (HWND found = test())
            return found;
        if (waited.Ms() > kTimeoutMs)
            return nullptr;
        Sleep(1);
    }
}

bool IsDialogClass(HWND window)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

// The first visible dialog of pid for which test holds.
template <class Test>
HWND FindDialog(DWORD pid, Test test)
{
    for (HWND window : TopLevelWindows(pid)) {
        if (IsDialogClass(window) && test(window))
            return window;
    }
    return nullptr;
}

// The wizard frame once a visible page of it holds the control mark. Only
// window queries: a message sent to the wizard would take its time.
HWND FindWizardAt(DWORD pid, WizardPageMark mark)
{
    return FindDialog(pid, [mark](HWND window) {
        for (HWND page = nullptr; (page = FindWindowExW(window, page, L"#32770", nullptr)) != nullptr;) {
            if (IsWindowVisible(page) && GetDlgItem(page, mark))
                return true;
        }
        return false;
    });
}

HWND FindMessageBox(DWORD pid)
{
    return FindDialog(pid, [](HWND window) { return GetDlgItem(window, kMessageTextId) != nullptr; });
}

int Fail(const char* step)
{
    fprintf(stderr, "bench_driver: %s\n", step);
    return 1;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

bool WaitForExit(RunningProgram& program)
{
    DWORD exitCode = 0;
    return program.WaitForExit(DWORD(kTimeoutMs), &exitCode);
}

void DeleteUninstallEntry(const std::wstring& key)
{
    std::wstring path = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + key;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
}

int TimeInstall(const std::wstring& program, const std::wstring& destination, const std::wstring& key)
{
    DeleteUninstallEntry(key);
    std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    RunningProgram install;
    Stopwatch whole;
    if (!install.Start(Quoted(program), folder))
        return Fail("install.exe did not start");
    const DWORD pid = install.Id();
    HWND sheet = PollFor([pid] { return FindWizardAt(pid, DestinationPageMark); });
    if (!sheet)
        return Fail("no destination page");
    const double startup = whole.Ms();

    SetControlText(CurrentWizardPage(sheet), DestinationPageMark, destination);
    PressWizardButton(sheet, PSBTN_NEXT);
    if (!PollFor([pid] { return FindWizardAt(pid, MenuOptionsPageMark); }))
        return Fail("no menu options page");
    HWND options = CurrentWizardPage(sheet);
    SetButtonChecked(options, MenuOptionsPageMark, false);
    SetButtonChecked(options, kDesktopIconId, false);
    HWND finish = GetDlgItem(sheet, kFinishButtonId);
    if (!finish)
        return Fail("no <Finish> button");

    Stopwatch run;
    PressWizardButton(sheet, PSBTN_NEXT);
    if (!PollFor([finish] { return IsWindowEnabled(finish) && IsWindowVisible(finish) ? finish : nullptr; }))
        return Fail("<Finish> was not offered");
    const double runMs = run.Ms();

    PressWizardButton(sheet, PSBTN_FINISH);
    HWND box = PollFor([pid] { return FindMessageBox(pid); });
    if (!box)
        return Fail("no completion box");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    if (!WaitForExit(install))
        return Fail("install.exe did not end");
    printf("%.1f %.1f %.1f\n", startup, runMs, whole.Ms());
    return 0;
}

// The program argv[2] quoted, followed by the arguments after it.
std::wstring CommandLine(int argc, wchar_t** argv)
{
    std::wstring commandLine = Quoted(argv[2]);
    for (int i = 3; i < argc; ++i)
        commandLine += L" " + std::wstring(argv[i]);
    return commandLine;
}

int TimeDialog(const std::wstring& commandLine)
{
    RunningProgram dialog;
    Stopwatch whole;
    if (!dialog.Start(commandLine))
        return Fail("the program did not start");
    const DWORD pid = dialog.Id();
    HWND shown = PollFor([pid] { return FindDialog(pid, [](HWND) { return true; }); });
    if (!shown)
        return Fail("no dialog");
    const double startup = whole.Ms();
    PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
    if (!WaitForExit(dialog))
        return Fail("the program did not end");
    printf("%.1f %.1f\n", startup, whole.Ms());
    return 0;
}

int TimeProcess(const std::wstring& commandLine)
{
    RunningProgram process;
    Stopwatch whole;
    if (!process.Start(commandLine))
        return Fail("the program did not start");
    if (!WaitForExit(process))
        return Fail("the program did not end");
    printf("%.1f\n", whole.Ms());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"install" && argc == 5)
        return TimeInstall(argv[2], argv[3], argv[4]);
    if (command == L"dialog" && argc >= 3)
        return TimeDialog(CommandLine(argc, argv));
    if (command == L"process" && argc >= 3)
        return TimeProcess(CommandLine(argc, argv));
    fputs("usage: bench_driver install <install.exe> <destination> <uninstall key>\n"
          "       bench_driver dialog <program> [arguments ...]\n"
          "       bench_driver process <program> [arguments ...]\n",
          stderr);
    return 2;
}
