// The findings of one check run: printed one per line as
// "file:line: error|warning: text" and counted for the exit code.
#pragma once
#include <windows.h>

enum Severity {
    SeverityWarning,
    SeverityError,
};

// Prints one finding. file is the package-relative file name; line 0 means
// that the finding has no line of its own (a missing file or section).
void ReportFinding(const wchar_t* file, int line, Severity severity, const wchar_t* format, ...);

int ErrorCount();
int WarningCount();

// A line for the user on standard output or standard error.
void PrintOut(const wchar_t* text);
void PrintErr(const wchar_t* text);
