#include "settings_fixture.h"

#include "globals.h"
#include "window_driver.h"

namespace installer_testing {

namespace {

DWORD WINAPI RunCall(void* parameter)
{
    auto* call = static_cast<std::pair<const std::function<bool()>*, bool>*>(parameter);
    call->second = (*call->first)();
    return 0;
}

}  // namespace

ScriptFile::ScriptFile(const std::string& text, const wchar_t* name) : dir_(L"script"), path_(dir_ / name)
{
    testing_support::WriteFileBytes(path_, text);
    lstrcpynA(g_scriptPath, Ansi(path_).c_str(), kPathSize);
}

CallOutcome RunAnsweringBox(const std::function<bool()>& call, DWORD timeoutMs)
{
    CallOutcome outcome;
    std::pair<const std::function<bool()>*, bool> state(&call, false);
    HANDLE thread = CreateThread(nullptr, 0, RunCall, &state, 0, nullptr);
    if (!thread)
        return outcome;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(thread, 50) == WAIT_TIMEOUT && GetTickCount() - start < timeoutMs) {
        HWND box = testing_support::WaitForDialog(GetCurrentProcessId(), 0);
        if (!box || !outcome.boxText.empty())
            continue;
        outcome.boxCaption = testing_support::WindowText(box);
        outcome.boxText = testing_support::MessageBoxText(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    outcome.returned = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    if (!outcome.returned)
        TerminateThread(thread, 0);
    CloseHandle(thread);
    outcome.result = state.second;
    return outcome;
}

std::string Ansi(const std::wstring& text)
{
    return testing_support::ToCodePage(text, CP_ACP);
}

std::wstring Wide(const char* text)
{
    return testing_support::FromCodePage(text, CP_ACP);
}

}  // namespace installer_testing
