#include "unix_links.h"

#include <ctype.h>

#include "test_files.h"

namespace testing_support {

namespace {

const DWORD kUnixCommandMs = 20000;

// Wine starts a Unix program from its Windows path; its process handle
// cannot be waited for, so the caller polls for the program's effect.
bool StartUnixCommand(const wchar_t* program, const std::wstring& arguments)
{
    std::wstring commandLine = std::wstring(program) + L" " + arguments;
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION started = {};
    std::wstring path = std::wstring(L"Z:\\bin\\") + program;
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

template <class Done>
bool WaitUntil(Done done)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50)) {
        if (GetTickCount() - start > kUnixCommandMs)
            return false;
    }
    return true;
}

std::wstring Quoted(const std::string& unixPath)
{
    return L"\"" + FromCodePage(unixPath, CP_UTF8) + L"\"";
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The link itself, for a link whose target may be gone.
bool LinkExists(const std::wstring& link)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(link.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

bool StartLink(const std::string& link, const std::string& target)
{
    return StartUnixCommand(L"ln", L"-s " + Quoted(target) + L" " + Quoted(link));
}

bool StartRemoval(const std::string& link)
{
    return StartUnixCommand(L"rm", L"-f " + Quoted(link));
}

// The prefix's entry for a drive letter, as a Unix path.
std::string PrefixDosDevice(wchar_t letter)
{
    char prefix[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    return std::string(prefix) + "/dosdevices/" + char(tolower(letter)) + ":";
}

}  // namespace

std::string UnixPathOf(const std::wstring& path)
{
    typedef char*(CDECL * UnixFileName)(LPCWSTR);
    auto convert = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixPath = convert ? convert(path.c_str()) : nullptr;
    if (!unixPath)
        return std::string();
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

bool MakeUnixLink(const std::wstring& link, const std::wstring& target)
{
    // Wine maps only paths whose folder exists: the link's name is added.
    const size_t cut = link.find_last_of(L"\\/");
    std::string folder = cut == std::wstring::npos ? std::string() : UnixPathOf(link.substr(0, cut));
    std::string from = folder.empty() ? folder : folder + "/" + ToCodePage(link.substr(cut + 1), CP_UTF8);
    std::string to = UnixPathOf(target);
    return !from.empty() && !to.empty() && StartLink(from, to) && WaitUntil([&] { return LinkExists(link); });
}

bool RemoveUnixLink(const std::wstring& link)
{
    std::string path = UnixPathOf(link);
    return !path.empty() && StartRemoval(path) && WaitUntil([&] { return !LinkExists(link); });
}

ScopedDriveLetter::ScopedDriveLetter(wchar_t letter, const std::wstring& folder)
    : letter_(letter), device_(PrefixDosDevice(letter))
{
    std::string target = UnixPathOf(folder);
    ready_ = !device_.empty() && !target.empty() && !Exists(Root()) && StartLink(device_, target) &&
             WaitUntil([&] { return Exists(Root()); });
}

ScopedDriveLetter::~ScopedDriveLetter()
{
    if (ready_ && StartRemoval(device_))
        WaitUntil([&] { return !Exists(Root()); });
}

}  // namespace testing_support
