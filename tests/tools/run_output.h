// What medium_run prints: one UTF-8 line per fact on standard output.
#pragma once
#include <windows.h>
#include <string>

#include "process_tree.h"
#include "window_driver.h"

namespace medium_run {

void Print(const std::wstring& line);

// "0x%08X" of an exit code, beside its signed value.
std::wstring ExitCodeText(DWORD code);

// "Message box of <program>: [<caption>] <text>".
void PrintBox(const std::wstring& program, const testing_support::MessageBoxSeen& box);

// The boxes of a run of program that was given timeoutMs, then how it ended;
// true when it ended with 0.
bool PrintRunOutcome(const wchar_t* program, const testing_support::AnsweredRun& run, DWORD timeoutMs);

// Prints "<label>: <value>" and tells whether the value is as expected.
bool PrintCheck(const std::wstring& label, bool good, const wchar_t* goodText, const wchar_t* badText);

}  // namespace medium_run
