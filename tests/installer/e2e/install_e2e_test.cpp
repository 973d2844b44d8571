// The real install.exe, copied into scratch folders with its scripts: choice
// of the script, run modes by command line, and the uninstall hand-over up to
// the start of the copy in the system directory.
#include <gtest/gtest.h>

#include <string>

#include "code_page_fixture.h"
#include "process_command_line.h"
#include "process_tree.h"
#include "registry_fixture.h"
#include "test_files.h"
#include "window_driver.h"

using namespace testing_support;
using installer_testing::ScopedUninstallEntry;

namespace {

const DWORD kWaitMs = 20000;

std::wstring SystemDir()
{
    wchar_t dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, MAX_PATH);
    return dir;
}

// A folder holding a copy of install.exe (under any name) and its scripts;
// its path contains a blank.
class PackageFolder {
public:
    explicit PackageFolder(const std::wstring& programName = L"install.exe")
        : dir_(L"install shell "), program_(dir_ / programName)
    {
        copied_ = CopyFileW(INSTALL_EXE, program_.c_str(), FALSE) != FALSE;
    }

    bool Copied() const { return copied_; }
    const std::wstring& Program() const { return program_; }
    std::wstring operator/(const std::wstring& name) const { return dir_ / name; }

    bool WriteScript(const std::wstring& name, const std::string& text) { return WriteFileBytes(dir_ / name, text); }

    bool Start(const std::wstring& arguments, RunningProgram* program) const
    {
        return program->Start(L"\"" + program_ + L"\" " + arguments, dir_.Path());
    }

private:
    ScratchDir dir_;
    std::wstring program_;
    bool copied_ = false;
};

std::string Script(const std::string& title, const std::string& more = "")
{
    return "[Install]\r\nTitle=" + title + "\r\nFolder=Shell Tests\\" + title + "\r\n" + more;
}

// Presses button on the next message box of process pid, waits until the
// box is gone and returns what it showed.
MessageBoxSeen AnswerBoxOf(DWORD pid, int button)
{
    MessageBoxSeen seen;
    HWND box = WaitForDialog(pid, kWaitMs);
    EXPECT_NE(nullptr, box) << "no message box came";
    if (!box)
        return seen;
    seen.caption = WindowText(box);
    seen.text = MessageBoxText(box);
    EXPECT_TRUE(PressAndWaitGone(box, button, kWaitMs));
    return seen;
}

MessageBoxSeen Answer(const RunningProgram& program, int button)
{
    return AnswerBoxOf(program.Id(), button);
}

// Waits for the end of a process that the test did not start itself.
DWORD ExitCodeOfProcess(DWORD pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    EXPECT_NE(nullptr, process);
    if (!process)
        return 0xDEAD;
    DWORD code = 0xDEAD;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, kWaitMs));
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

DWORD ExitCode(RunningProgram& program)
{
    DWORD code = 0xDEAD;
    EXPECT_TRUE(program.WaitForExit(kWaitMs, &code)) << "install.exe did not end";
    return code;
}

// Starts the program, answers its one message box and expects exit code 1.
MessageBoxSeen RunAnsweringOneBox(const PackageFolder& folder, const std::wstring& arguments, int button)
{
    RunningProgram program;
    if (!folder.Start(arguments, &program)) {
        ADD_FAILURE() << "install.exe did not start";
        return MessageBoxSeen();
    }
    MessageBoxSeen seen = Answer(program, button);
    EXPECT_EQ(1u, ExitCode(program)) << arguments;
    return seen;
}

// Opens the wizard, cancels it and returns message 36, whose caption is the
// title of the script that was loaded.
MessageBoxSeen CancelTheWizard(const PackageFolder& folder, const std::wstring& arguments = L"")
{
    RunningProgram program;
    if (!folder.Start(arguments, &program)) {
        ADD_FAILURE() << "install.exe did not start";
        return MessageBoxSeen();
    }
    HWND sheet = WaitForDialog(program.Id(), kWaitMs);
    EXPECT_NE(nullptr, sheet);
    EXPECT_NE(nullptr, FindWindowExW(sheet, nullptr, L"#32770", nullptr)) << "a wizard page";
    EXPECT_TRUE(PressAndWaitGone(sheet, IDCANCEL, kWaitMs));
    MessageBoxSeen seen = Answer(program, IDOK);
    EXPECT_EQ(1u, ExitCode(program));
    return seen;
}

std::wstring TitleOfLoadedScript(const PackageFolder& folder)
{
    return CancelTheWizard(folder).caption;
}

// The package's uninstall entry naming the folder's program, as an install
// into that folder leaves it.
void Register(ScopedUninstallEntry& entry, const std::wstring& title, const std::wstring& program)
{
    ASSERT_TRUE(entry.Set(L"DisplayName", title));
    ASSERT_TRUE(entry.Set(L"UninstallString", L"\"" + program + L"\" /r"));
}

}  // namespace

TEST(ScriptChoice, PlainScriptBeforeLanguageScripts)
{
    PackageFolder folder;
    ASSERT_TRUE(folder.Copied());
    folder.WriteScript(L"installE.INF", Script("English Tool"));
    EXPECT_EQ(L"English Tool", TitleOfLoadedScript(folder));
    folder.WriteScript(L"install.INF", Script("Plain Tool"));
    EXPECT_EQ(L"Plain Tool", TitleOfLoadedScript(folder));
}

TEST(ScriptChoice, EnglishInterfaceTakesTheEScript)
{
    PackageFolder folder;
    ASSERT_TRUE(folder.Copied());
    folder.WriteScript(L"installE.INF", Script("English Tool"));
    folder.WriteScript(L"installJ.INF", Script("Japanese Tool"));
    EXPECT_EQ(L"English Tool", TitleOfLoadedScript(folder));
}

// Wine takes the language of a program from the Linux locale it starts in,
// which a Windows parent cannot change for its child: these cases run in the
// test registration made with LC_ALL=ja_JP.UTF-8.
using JapaneseScriptChoice = JapaneseCodePageTest;

TEST_F(JapaneseScriptChoice, JapaneseInterfaceTakesTheJScriptElseTheEScript)
{
    PackageFolder folder;
    ASSERT_TRUE(folder.Copied());
    folder.WriteScript(L"installE.INF", Script("English Tool"));
    folder.WriteScript(L"installJ.INF", ToCodePage(L"[Install]\r\nTitle=日本語ツール\r\nFolder=ソフト\r\n", 932));
    EXPECT_EQ(L"日本語ツール", TitleOfLoadedScript(folder));
    ASSERT_TRUE(DeleteFileW((folder / L"installJ.INF").c_str()));
    EXPECT_EQ(L"English Tool", TitleOfLoadedScript(folder));
}

TEST(ScriptChoice, ProgramWithoutExtension)
{
    PackageFolder folder(L"setup");
    ASSERT_TRUE(folder.Copied());
    folder.WriteScript(L"setupE.INF", Script("No Extension Tool"));
    EXPECT_EQ(L"No Extension Tool", TitleOfLoadedScript(folder));
}

TEST(ScriptChoice, NoScriptAtAllIsADamagedFile)
{
    PackageFolder folder;
    ASSERT_TRUE(folder.Copied());
    for (const wchar_t* arguments : {L"", L"/r", L"x C:\\nowhere\\install.exe"}) {
        MessageBoxSeen seen = RunAnsweringOneBox(folder, arguments, IDOK);
        EXPECT_EQ(L"Damaged file, or NO Information file.", seen.text) << arguments;
        EXPECT_EQ(L"Error", seen.caption);
    }
}

TEST(ScriptChoice, TooLongProgramNameIsRefused)
{
    std::wstring name(48, L'n');
    PackageFolder folder(name + L".exe");
    ASSERT_TRUE(folder.Copied());
    folder.WriteScript(name + L".INF", Script("Long Name Tool"));
    EXPECT_EQ(L"Damaged file, or NO Information file.", RunAnsweringOneBox(folder, L"", IDOK).text);
}

TEST(CommandLine, UninstallFormsAskForConfirmation)
{
    PackageFolder folder;
    ASSERT_TRUE(folder.Copied());
    folder.WriteScript(L"install.INF", Script("Confirm Tool"));
    ScopedUninstallEntry entry(L"Confirm Tool");
    ASSERT_NO_FATAL_FAILURE(Register(entry, L"Confirm Tool", folder.Program()));
    for (const wchar_t* arguments : {L"/R", L"/r", L"R", L"r", L"right away"}) {
        MessageBoxSeen seen = RunAnsweringOneBox(folder, arguments, IDCANCEL);
        EXPECT_EQ(L"Confirm Tool will be uninstalled.", seen.text) << arguments;
        EXPECT_EQ(L"Confirm Tool", seen.caption);
    }
}

TEST(CommandLine, OtherFormsOpenTheWizard)
{
    PackageFolder folder;
    ASSERT_TRUE(folder.Copied());
    folder.WriteScript(L"install.INF", Script("Wizard Tool"));
    for (const wchar_t* arguments : {L"", L"X", L"-r", L"/X"}) {
        MessageBoxSeen seen = CancelTheWizard(folder, arguments);
        EXPECT_EQ(L"Installation was interrupted.", seen.text) << ToCodePage(arguments, CP_UTF8);
        EXPECT_EQ(L"Wizard Tool", seen.caption);
    }
}

// "/r" from a copy that no uninstall entry names (the medium's, one in
// Downloads) removes nothing beside it: without a registered installation of
// an existing program file it refuses at once (message 34).
TEST(CommandLine, UninstallOfAnUnregisteredCopyIsRefused)
{
    PackageFolder folder;
    ASSERT_TRUE(folder.Copied());
    folder.WriteScript(L"install.INF", Script("Unregistered Tool", "InstallKey=ShellTestUnregistered\r\n"));
    ScopedUninstallEntry entry(L"ShellTestUnregistered");
    for (bool registered : {false, true}) {
        if (registered)
            ASSERT_NO_FATAL_FAILURE(Register(entry, L"Unregistered Tool", folder / L"gone\\install.exe"));
        MessageBoxSeen seen = RunAnsweringOneBox(folder, L"/r", IDOK);
        EXPECT_EQ(L"Failed in executing the uninstallation program.  Uninstall unnecessary files manually.", seen.text)
            << registered;
        EXPECT_EQ(L"Error", seen.caption);
        EXPECT_TRUE(FileExists(folder.Program()));
        EXPECT_FALSE(FileExists(SystemDir() + L"\\install.exe")) << "no copy was made";
    }
}

TEST(CommandLine, CopyModeWorksOnTheNamedProgramsFolder)
{
    // The named folder's script carries an uninstall key that another
    // package holds: its message shows that this script was loaded.
    PackageFolder runner;
    PackageFolder installed;
    ASSERT_TRUE(runner.Copied());
    runner.WriteScript(L"install.INF", Script("Runner Tool"));
    installed.WriteScript(L"install.INF", Script("Installed Tool", "InstallKey=ShellTestCopyMode\r\n"));
    ScopedUninstallEntry holder(L"ShellTestCopyMode");
    ASSERT_TRUE(holder.Set(L"DisplayName", L"Key Holder"));

    for (const wchar_t* mode : {L"x ", L"/x "}) {
        EXPECT_EQ(L"The uninstall entry already used by 'Key Holder'. Please uninstall it.",
                  RunAnsweringOneBox(runner, mode + installed.Program(), IDOK).text) << mode;
    }
}

TEST(CommandLine, CopyModeWithoutPathDoesNothing)
{
    PackageFolder folder;
    ASSERT_TRUE(folder.Copied());
    folder.WriteScript(L"install.INF", Script("Runner Tool"));
    for (const wchar_t* arguments : {L"x", L"x ", L"/x"}) {
        EXPECT_EQ(L"Failed in executing the uninstallation program.  Uninstall unnecessary files manually.",
                  RunAnsweringOneBox(folder, arguments, IDOK).text) << arguments;
    }
}

// The hand-over copies the program into the system directory under its own
// name; these tests use names of their own and remove what they leave there.
// The folder's program is the registered one.
class HandOver : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.Copied());
        DeleteFileW(copy_.c_str());
        DeleteFileW(marker_.c_str());
        ASSERT_FALSE(FileExists(copy_)) << "a copy from an earlier run is still in use";
        ASSERT_NO_FATAL_FAILURE(Register(entry_, L"Hand Over Tool", folder_.Program()));
    }
    void TearDown() override
    {
        DeleteFileW(copy_.c_str());
        DeleteFileW(marker_.c_str());
    }

    // Answers the confirmation with OK; then the copy started in the system
    // directory loads the same script, and the entry that another package
    // took in the meantime makes it stop at message 2, where it can be seen.
    void ConfirmAndCatchCopy(RunningProgram& handOver, DWORD* copyPid, DWORD* confirmedAt,
                             ScopedUninstallEntry* entry = nullptr)
    {
        HWND confirmation = WaitForDialog(handOver.Id(), kWaitMs);
        ASSERT_NE(nullptr, confirmation);
        ASSERT_TRUE((entry ? entry : &entry_)->Set(L"DisplayName", L"Hand Over Rival"));
        *confirmedAt = GetTickCount();
        ASSERT_TRUE(ClickButton(confirmation, IDOK));
        HWND box = nullptr;
        DWORD start = GetTickCount();
        while (!box && GetTickCount() - start < kWaitMs) {
            for (DWORD pid : ProcessTree(handOver.Id())) {
                if (pid != handOver.Id() && ProcessImageName(pid) == L"shelltest.exe")
                    box = WaitForDialog(pid, 0), *copyPid = pid;
            }
            Sleep(20);
        }
        ASSERT_NE(nullptr, box) << "the copy did not show its message";
        EXPECT_EQ(L"The uninstall entry already used by 'Hand Over Rival'. Please uninstall it.", MessageBoxText(box));
    }

    PackageFolder folder_{L"shelltest.exe"};
    std::wstring copy_ = SystemDir() + L"\\shelltest.exe";
    std::wstring marker_ = SystemDir() + L"\\ShellTestHandOver.tmp";
    ScopedUninstallEntry entry_{L"ShellTestHandOver"};
};

TEST_F(HandOver, ConfirmationOfAResidentProgram)
{
    folder_.WriteScript(L"shelltest.INF", Script("Hand Over Tool", "TSR=1\r\nInstallKey=ShellTestHandOver\r\n"));
    EXPECT_EQ(L"Hand Over Tool will be uninstalled.  If resident applications still exist, close them and then "
              L"press <OK> button.",
              RunAnsweringOneBox(folder_, L"/r", IDCANCEL).text);
}

TEST_F(HandOver, CancelLeavesEverythingUntouched)
{
    folder_.WriteScript(L"shelltest.INF", Script("Hand Over Tool", "InstallKey=ShellTestHandOver\r\n"));
    RunAnsweringOneBox(folder_, L"/r", IDCANCEL);
    EXPECT_FALSE(FileExists(copy_));
    EXPECT_FALSE(FileExists(marker_));
    EXPECT_TRUE(FileExists(folder_.Program()));
}

TEST_F(HandOver, OkStartsTheCopyOnTheInstalledProgram)
{
    folder_.WriteScript(L"shelltest.INF", Script("Hand Over Tool", "InstallKey=ShellTestHandOver\r\n"));
    RunningProgram handOver;
    ASSERT_TRUE(folder_.Start(L"/r", &handOver));
    DWORD copyPid = 0, confirmedAt = 0;
    ASSERT_NO_FATAL_FAILURE(ConfirmAndCatchCopy(handOver, &copyPid, &confirmedAt));

    // The copy's path is quoted; its own arguments keep their form.
    EXPECT_EQ(L"\"" + SystemDir() + L"\\shelltest.exe\" x " + folder_.Program(), ProcessCommandLine(copyPid));
    EXPECT_EQ(ReadFileBytes(INSTALL_EXE), ReadFileBytes(copy_));
    EXPECT_TRUE(FileExists(marker_));
    // The hand-over ends once the copy waits for input, while its box is open.
    EXPECT_EQ(1u, ExitCode(handOver));

    AnswerBoxOf(copyPid, IDOK);
    EXPECT_EQ(1u, ExitCodeOfProcess(copyPid));
}

TEST_F(HandOver, LockedMarkerMakesItWaitLonger)
{
    folder_.WriteScript(L"shelltest.INF", Script("Hand Over Tool", "InstallKey=ShellTestHandOver\r\n"));
    HANDLE lock = CreateFileW(marker_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    WriteFile(lock, "held", 4, nullptr, nullptr);
    RunningProgram handOver;
    ASSERT_TRUE(folder_.Start(L"/r", &handOver));
    DWORD copyPid = 0, confirmedAt = 0;
    ASSERT_NO_FATAL_FAILURE(ConfirmAndCatchCopy(handOver, &copyPid, &confirmedAt));
    EXPECT_GE(GetTickCount() - confirmedAt, 2000u);
    CloseHandle(lock);
    EXPECT_EQ(1u, ExitCode(handOver));
    AnswerBoxOf(copyPid, IDOK);
    EXPECT_EQ(1u, ExitCodeOfProcess(copyPid));
}

TEST_F(HandOver, CopyThatCannotStartIsReported)
{
    folder_.WriteScript(L"shelltest.INF", Script("Hand Over Tool", "InstallKey=ShellTestHandOver\r\n"));
    // A folder in the way: neither the copy nor its start can succeed.
    ASSERT_TRUE(CreateDirectoryW(copy_.c_str(), nullptr));
    RunningProgram program;
    ASSERT_TRUE(folder_.Start(L"r", &program));
    Answer(program, IDOK);
    MessageBoxSeen seen = Answer(program, IDOK);
    RemoveDirectoryW(copy_.c_str());
    EXPECT_EQ(L"Failed in executing the uninstallation program.  Uninstall unnecessary files manually.", seen.text);
    EXPECT_EQ(L"Error", seen.caption);
    EXPECT_EQ(1u, ExitCode(program));
}

// The marker's name is made of the install key with every character that
// could name a stream, a device or another folder replaced; creator and
// deleter agree on it.
TEST_F(HandOver, MarkerNameIsASafeFileName)
{
    const struct {
        const char* key;
        const wchar_t* entry;
        const wchar_t* marker;
    } cases[] = {
        {"COM1", L"COM1", L"_COM1.tmp"},
        {"Hand:Over", L"Hand:Over", L"Hand_Over.tmp"},
    };
    for (const auto& c : cases) {
        folder_.WriteScript(L"shelltest.INF", Script("Hand Over Tool", std::string("InstallKey=") + c.key + "\r\n"));
        ScopedUninstallEntry entry(c.entry);
        ASSERT_NO_FATAL_FAILURE(Register(entry, L"Hand Over Tool", folder_.Program()));
        const std::wstring marker = SystemDir() + L"\\" + c.marker;
        RunningProgram handOver;
        ASSERT_TRUE(folder_.Start(L"/r", &handOver));
        DWORD copyPid = 0, confirmedAt = 0;
        ASSERT_NO_FATAL_FAILURE(ConfirmAndCatchCopy(handOver, &copyPid, &confirmedAt, &entry));
        EXPECT_TRUE(FileExists(marker)) << c.key;
        EXPECT_EQ(1u, ExitCode(handOver));
        AnswerBoxOf(copyPid, IDOK);
        EXPECT_EQ(1u, ExitCodeOfProcess(copyPid));
        DeleteFileW(marker.c_str());
        DeleteFileW(copy_.c_str());
    }
}
