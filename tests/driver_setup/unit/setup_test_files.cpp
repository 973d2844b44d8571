#include "setup_test_files.h"

#include <shlobj.h>

namespace driver_setup_test {

using namespace testing_support;

std::wstring WriteConfig(const ScratchDir& dir, const std::string& content)
{
    const std::wstring path = dir / L"TQSetup.ini";
    std::string lines;
    for (char c : content)
        lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    WriteFileBytes(path, lines);
    return path;
}

std::vector<std::wstring> Items(const StringList& list)
{
    std::vector<std::wstring> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.At(i));
    return items;
}

void Fill(StringList& list, std::initializer_list<const wchar_t*> items)
{
    for (const wchar_t* item : items)
        list.Add(item);
}

bool WriteFileAt(const std::wstring& path, const std::string& content, LONGLONG secondsFromNow)
{
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    return WriteFileBytes(path, content) && SetFileWriteTime(path, ShiftTime(now, secondsFromNow));
}

std::wstring SystemFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, csidl, FALSE);
    return folder;
}

std::wstring VersionedDll(int build)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring dir(program);
    dir.resize(dir.find_last_of(L'\\'));
    return dir + L"\\versioned\\versioned_100" + std::to_wstring(build) + L".dll";
}

DWORD SpoolerState()
{
    DWORD state = 0;
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return 0;
    SC_HANDLE service = OpenServiceW(manager, L"Spooler", SERVICE_QUERY_STATUS);
    SERVICE_STATUS status = {};
    if (service && QueryServiceStatus(service, &status))
        state = status.dwCurrentState;
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return state;
}

HeldFile::HeldFile(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

HeldFile::~HeldFile()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

RemoveAtEnd::~RemoveAtEnd()
{
    RemoveNow();
}

void RemoveAtEnd::RemoveNow()
{
    for (const std::wstring& path : paths_)
        DeleteFileW(path.c_str());
    paths_.clear();
}

}  // namespace driver_setup_test
