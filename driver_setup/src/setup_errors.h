// The message box that reports a failed driver-setup run.
#pragma once
#include <windows.h>

// Title of every message box of the driver installer.
extern const wchar_t SETUP_TITLE[];

struct SetupError {
    int code;
    const wchar_t* text;
    // The text is a format that takes the negated code.
    bool formatted;
};

// Every code with its text, in the order they are looked up.
extern const SetupError SetupErrorTable[22];

// The text shown for code; a detail code (a Windows error) is added on a
// second line to the texts that show the code.
void FormatSetupError(int code, DWORD detailCode, wchar_t (&text)[MAX_PATH]);

void ShowSetupError(int code, DWORD detailCode);
