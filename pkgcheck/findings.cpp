#include "findings.h"

#include <stdarg.h>
#include <strsafe.h>

namespace {

int g_errorCount;
int g_warningCount;

const int kLineSize = 1024;

// A console gets UTF-16; a pipe or file gets UTF-8, so that the Japanese and
// Chinese names of a finding read the same under Wine and in a log.
void WriteLine(DWORD handleId, const wchar_t* text)
{
    HANDLE handle = GetStdHandle(handleId);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return;
    wchar_t line[kLineSize + 2];
    StringCchPrintfW(line, ARRAYSIZE(line), L"%s\r\n", text);
    DWORD mode;
    DWORD written;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, line, lstrlenW(line), &written, nullptr);
        return;
    }
    char bytes[kLineSize * 3 + 4];
    const int length = WideCharToMultiByte(CP_UTF8, 0, line + 0, lstrlenW(line), bytes, sizeof(bytes), nullptr,
                                           nullptr);
    // Lines end with LF in a pipe: the reader is a Unix tool or a test.
    int end = length;
    if (end >= 2 && bytes[end - 2] == '\r') {
        bytes[end - 2] = '\n';
        --end;
    }
    if (end > 0)
        WriteFile(handle, bytes, end, &written, nullptr);
}

}  // namespace

void ReportFinding(const wchar_t* file, int line, Severity severity, const wchar_t* format, ...)
{
    wchar_t text[kLineSize];
    va_list arguments;
    va_start(arguments, format);
    StringCchVPrintfW(text, ARRAYSIZE(text), format, arguments);
    va_end(arguments);
    wchar_t finding[kLineSize];
    StringCchPrintfW(finding, ARRAYSIZE(finding), L"%s:%d: %s: %s", file, line,
                     severity == SeverityError ? L"error" : L"warning", text);
    ++(severity == SeverityError ? g_errorCount : g_warningCount);
    PrintOut(finding);
}

int ErrorCount()
{
    return g_errorCount;
}

int WarningCount()
{
    return g_warningCount;
}

void PrintOut(const wchar_t* text)
{
    WriteLine(STD_OUTPUT_HANDLE, text);
}

void PrintErr(const wchar_t* text)
{
    WriteLine(STD_ERROR_HANDLE, text);
}
