// pkgcheck: checks a package folder before it goes on a medium, reading its
// install scripts and TQSetup.ini the way install.exe and Setup.exe read them.
//
//   pkgcheck [--built FILE]... PACKAGE_DIR
//
// One line per finding, "file:line: error|warning: text". Exit code 0 when
// clean, 1 for warnings only, 2 for errors, 3 for a usage error, 4 when a
// folder cannot be read.
#include <windows.h>
#include <strsafe.h>

#include "findings.h"
#include "package_check.h"
#include "package_folder.h"

namespace {

enum ExitCode {
    ExitClean = 0,
    ExitWarnings = 1,
    ExitErrors = 2,
    ExitUsage = 3,
    ExitUnreadable = 4,
};

int ReportUsage()
{
    PrintErr(L"usage: pkgcheck [--built FILE]... PACKAGE_DIR");
    PrintErr(L"  --built FILE  a file that the medium build lays at the top of the medium (a program");
    PrintErr(L"                that the vendor's build makes); checked as part of the package");
    return ExitUsage;
}

int ReportUnreadable(const wchar_t* what, const wchar_t* dir)
{
    wchar_t text[kPathChars + 64];
    StringCchPrintfW(text, ARRAYSIZE(text), L"pkgcheck: cannot read the %s %s", what, dir);
    PrintErr(text);
    return ExitUnreadable;
}

bool IsFile(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    PackageFolder package;
    const wchar_t* packageDir = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (lstrcmpW(argv[i], L"--built") == 0) {
            if (++i == argc)
                return ReportUsage();
            if (!IsFile(argv[i]) || !package.AddBuiltFile(argv[i]))
                return ReportUnreadable(L"built file", argv[i]);
        } else if (argv[i][0] == L'-' || packageDir) {
            return ReportUsage();
        } else {
            packageDir = argv[i];
        }
    }
    if (!packageDir)
        return ReportUsage();
    if (!package.Open(packageDir))
        return ReportUnreadable(L"package folder", packageDir);
    CheckPackage(package);
    return ErrorCount() ? ExitErrors : WarningCount() ? ExitWarnings : ExitClean;
}
