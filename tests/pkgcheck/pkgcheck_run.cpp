#include "pkgcheck_run.h"

namespace pkgcheck_testing {

namespace {

const DWORD kRunTimeoutMs = 60000;

std::wstring Quoted(const std::wstring& argument)
{
    return L"\"" + argument + L"\"";
}

std::string ReadAll(HANDLE pipe)
{
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

CheckRun RunPkgcheck(const std::vector<std::wstring>& arguments)
{
    CheckRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0))
        return run;
    if (!CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        CloseHandle(outRead);
        CloseHandle(outWrite);
        return run;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine = Quoted(PKGCHECK_EXE);
    for (const std::wstring& argument : arguments)
        commandLine += L" " + Quoted(argument);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process = {};
    run.started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                 nullptr, &startup, &process) != FALSE;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (run.started) {
        // Standard error is a line or two: it cannot fill its pipe first.
        run.lines = SplitLines(ReadAll(outRead));
        run.errors = ReadAll(errRead);
        run.started = WaitForSingleObject(process.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0 &&
                      GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return run;
}

FixturePackage::FixturePackage()
{
    ready_ = testing_support::CopyTree(SAMPLE_PACKAGE_DIR, dir_.Path());
}

bool FixturePackage::Replace(const std::wstring& file, const std::string& from, const std::string& to) const
{
    std::string bytes = testing_support::ReadFileBytes(PathOf(file));
    const size_t at = bytes.find(from);
    if (at == std::string::npos)
        return false;
    bytes.replace(at, from.size(), to);
    return Write(file, bytes);
}

bool FixturePackage::Write(const std::wstring& file, const std::string& bytes) const
{
    const std::wstring path = PathOf(file);
    const size_t slash = path.find_last_of(L'\\');
    return testing_support::CreateDirectories(path.substr(0, slash)) && testing_support::WriteFileBytes(path, bytes);
}

bool FixturePackage::Remove(const std::wstring& file) const
{
    return DeleteFileW(PathOf(file).c_str()) != FALSE;
}

bool FixturePackage::Apply(const PackageEdit& edit) const
{
    switch (edit.kind) {
    case PackageEdit::ReplaceText:
        return Replace(edit.file, edit.from, edit.to);
    case PackageEdit::WriteFile:
        return Write(edit.file, edit.to);
    case PackageEdit::RemoveFile:
        return Remove(edit.file);
    case PackageEdit::AddFiles:
        for (int i = 0; i < edit.count; ++i) {
            if (!Write(edit.file + L"\\f" + std::to_wstring(i) + L".txt", "x"))
                return false;
        }
        return true;
    }
    return false;
}

bool FixturePackage::ApplyAll(const std::vector<PackageEdit>& edits) const
{
    for (const PackageEdit& edit : edits) {
        if (!Apply(edit))
            return false;
    }
    return true;
}

CheckRun FixturePackage::Check() const
{
    return RunPkgcheck({L"--built", CARD_TOOL_EXE, L"--built", CARD_REG_DLL, Dir()});
}

PackageEdit Replace(const std::wstring& file, const std::string& from, const std::string& to)
{
    return {PackageEdit::ReplaceText, file, from, to};
}

PackageEdit Write(const std::wstring& file, const std::string& bytes)
{
    return {PackageEdit::WriteFile, file, "", bytes};
}

PackageEdit Remove(const std::wstring& file)
{
    return {PackageEdit::RemoveFile, file, "", ""};
}

PackageEdit AddFiles(const std::wstring& folder, int count)
{
    return {PackageEdit::AddFiles, folder, "", "", count};
}

std::string SampleFile(const std::wstring& relative)
{
    return testing_support::ReadFileBytes(testing_support::JoinPaths(SAMPLE_PACKAGE_DIR, relative));
}

void ExpectFindings(const FaultCase& fault)
{
    FixturePackage package;
    ASSERT_TRUE(package.Ready());
    ASSERT_TRUE(package.ApplyAll(fault.edits)) << "the fault could not be made";
    const CheckRun run = package.Check();
    ASSERT_TRUE(run.started);
    EXPECT_EQ(fault.findings, run.lines);
    EXPECT_EQ(fault.exitCode, run.exitCode);
}

std::string FaultCaseName(const ::testing::TestParamInfo<FaultCase>& info)
{
    return info.param.name;
}

}  // namespace pkgcheck_testing
