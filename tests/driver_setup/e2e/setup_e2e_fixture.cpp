#include "setup_e2e_fixture.h"

#include "folder_listing.h"

using namespace testing_support;

namespace e2e {

namespace {

std::wstring InfDir()
{
    wchar_t windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\inf";
}

void RemoveFilesOf(const std::wstring& relativeDir, const std::wstring& targetDir)
{
    for (const std::wstring& name : FileNamesIn(JoinPaths(SAMPLE_PACKAGE_DIR, relativeDir)))
        DeleteFileW(JoinPaths(targetDir, name).c_str());
}

}  // namespace

std::wstring GeneralFailureText(int code)
{
    wchar_t text[80];
    wsprintfW(text, L"Failed to install the device driver. (-0x%02x)", -code);
    return text;
}

std::vector<std::wstring> DriverStoreEntriesWith(const std::string& text)
{
    std::vector<std::wstring> entries;
    for (const std::wstring& name : FileNamesIn(InfDir(), L"*.inf")) {
        const std::wstring path = JoinPaths(InfDir(), name);
        if (ReadFileBytes(path).find(text) != std::string::npos)
            entries.push_back(path);
    }
    return entries;
}

void RemoveSampleInstallation()
{
    const std::wstring native = NativeSystemDir();
    const std::wstring wow64 = Wow64SystemDir();
    for (const wchar_t* dir : {L"x64\\spool", L"x86\\spool"}) {
        RemoveFilesOf(dir, native);
        RemoveFilesOf(dir, wow64);
    }
    for (const wchar_t* dir : {L"x64\\downlevel", L"x86\\downlevel"}) {
        RemoveFilesOf(dir, native + L"\\downlevel");
        RemoveFilesOf(dir, wow64 + L"\\downlevel");
    }
    RemoveTree(kToolFolder);
    for (const std::wstring& inf : DriverStoreEntriesWith("Sample Card Printer")) {
        DeleteFileW(inf.c_str());
        std::wstring pnf = inf;
        pnf.replace(pnf.size() - 3, 3, L"pnf");
        DeleteFileW(pnf.c_str());
    }
}

void DriverSetupRun::SetUp()
{
    RemoveSampleInstallation();
}

void DriverSetupRun::TearDown()
{
    package_.reset();
    RemoveSampleInstallation();
}

DriverPackage& DriverSetupRun::MakePackage(bool withSetup64, const wchar_t* stem)
{
    package_ = std::make_unique<DriverPackage>(SETUP_EXE, withSetup64 ? SETUP64_EXE : L"", stem);
    EXPECT_TRUE(package_->Complete()) << "package folder " << ToCodePage(package_->Dir(), CP_UTF8);
    return *package_;
}

AnsweredRun DriverSetupRun::RunSetup(const DriverPackage& package)
{
    return RunAnsweringBoxes(L"\"" + package.SetupPath() + L"\"", kRunTimeoutMs);
}

AnsweredRun DriverSetupRun::RunSetup64(const DriverPackage& package, const std::wstring& arguments)
{
    std::wstring line = L"\"" + package.Setup64Path() + L"\"";
    if (!arguments.empty())
        line += L" " + arguments;
    return RunAnsweringBoxes(line, kRunTimeoutMs);
}

void ExpectOnlyBox(const AnsweredRun& run, const std::wstring& text, const std::wstring& program)
{
    ASSERT_EQ(1u, run.boxes.size()) << "message boxes seen";
    EXPECT_EQ(std::wstring(kTitle), run.boxes[0].caption);
    EXPECT_EQ(text, run.boxes[0].text);
    EXPECT_EQ(0, lstrcmpiW(program.c_str(), run.boxes[0].program.c_str()))
        << "box shown by " << ToCodePage(run.boxes[0].program, CP_UTF8);
}

void ExpectOutcome(const AnsweredRun& run, int code, const std::wstring& text,
                   const std::wstring& program)
{
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(static_cast<DWORD>(code), run.exitCode);
    ExpectOnlyBox(run, text, program);
}

void ExpectSuccess(const AnsweredRun& run, const std::wstring& text)
{
    ExpectOutcome(run, 0, text, L"Setup64.exe");
}

}  // namespace e2e
