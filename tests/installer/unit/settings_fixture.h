// Running install's settings code inside a test program: a script in a
// scratch folder, the catalogue of this program's resources, and message
// boxes read and answered from the test thread.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

#include "test_files.h"

namespace installer_testing {

// Writes an install script (text in the ANSI code page) and points
// g_scriptPath at it.
class ScriptFile {
public:
    explicit ScriptFile(const std::string& text, const wchar_t* name = L"installE.INF");
    const std::wstring& Path() const { return path_; }

private:
    testing_support::ScratchDir dir_;
    std::wstring path_;
};

// What a call showed before it returned.
struct CallOutcome {
    bool result = false;
    bool returned = false;      // false: still blocked after the time-out
    std::wstring boxText;       // "" when no message box came
    std::wstring boxCaption;
};

// Runs call on a worker thread; a message box it shows is read and closed
// with OK (or its only button).
CallOutcome RunAnsweringBox(const std::function<bool()>& call, DWORD timeoutMs = 10000);

// ANSI (system code page) form of a wide string, and back.
std::string Ansi(const std::wstring& text);
std::wstring Wide(const char* text);

}  // namespace installer_testing
