#include "run_output.h"

#include "test_files.h"

namespace medium_run {

void Print(const std::wstring& line)
{
    const std::string bytes = testing_support::ToCodePage(line + L"\n", CP_UTF8);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring ExitCodeText(DWORD code)
{
    wchar_t hex[16];
    wsprintfW(hex, L"0x%08X", code);
    return std::to_wstring(static_cast<int>(code)) + L" (" + hex + L")";
}

void PrintBox(const std::wstring& program, const testing_support::MessageBoxSeen& box)
{
    Print(L"Message box of " + program + L": [" + box.caption + L"] " + box.text);
}

bool PrintRunOutcome(const wchar_t* program, const testing_support::AnsweredRun& run, DWORD timeoutMs)
{
    for (const testing_support::AnsweredBox& box : run.boxes)
        PrintBox(box.program, {box.caption, box.text});
    if (!run.ended) {
        Print(std::wstring(program) + L" did not end within " + std::to_wstring(timeoutMs / 1000) + L" s");
        return false;
    }
    Print(std::wstring(program) + L" exited with " + ExitCodeText(run.exitCode));
    return run.exitCode == 0;
}

bool PrintCheck(const std::wstring& label, bool good, const wchar_t* goodText, const wchar_t* badText)
{
    Print(label + L": " + (good ? goodText : badText));
    return good;
}

}  // namespace medium_run
