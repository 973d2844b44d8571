#include "setup_paths.h"

#include <strsafe.h>
#include <string.h>

namespace {

// Cuts a trailing run of backslashes down to one, leaving the first two
// characters alone so that a root such as "C:\" survives.
void TrimTrailingBackslashes(wchar_t* text)
{
    const int length = lstrlenW(text);
    for (int i = length - 2; i >= 2; --i) {
        if (text[i] != L'\\')
            break;
        text[i + 1] = L'\0';
    }
}

bool EndsWithBackslash(const wchar_t* text)
{
    const int length = lstrlenW(text);
    return length > 0 && text[length - 1] == L'\\';
}

bool IsSeparator(wchar_t character)
{
    return character == L'\\' || character == L'/';
}

// "..", and forms such as "..." or ".. " that Windows trims to it.
bool IsParentLike(const wchar_t* component, size_t length)
{
    size_t dots = 0;
    for (size_t i = 0; i < length; ++i) {
        if (component[i] == L'.')
            ++dots;
        else if (component[i] != L' ')
            return false;
    }
    return dots >= 2;
}

// A name that Windows opens as a device in any folder: CON, PRN, AUX, NUL,
// COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$, in any letter case, also with
// an extension or blanks before it ("nul.txt", "COM1 .dll").
bool IsDeviceName(const wchar_t* component, size_t length)
{
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    size_t base = 0;
    while (base < length && component[base] != L'.')
        ++base;
    while (base > 0 && component[base - 1] == L' ')
        --base;
    for (const wchar_t* device : kDevices) {
        if (base == wcslen(device) && _wcsnicmp(component, device, base) == 0)
            return true;
    }
    return base == 4 && (_wcsnicmp(component, L"COM", 3) == 0 || _wcsnicmp(component, L"LPT", 3) == 0) &&
           component[3] >= L'1' && component[3] <= L'9';
}

}  // namespace

bool JoinPath(wchar_t* result, wchar_t* directory, const wchar_t* name)
{
    if (!result || !directory || !name)
        return false;
    const bool separated = EndsWithBackslash(directory);
    if (separated)
        TrimTrailingBackslashes(directory);
    const HRESULT formatted = StringCchPrintfW(result, SETUP_PATH_SIZE,
                                               separated ? L"%s%s" : L"%s\\%s", directory, name);
    if (FAILED(formatted)) {
        result[0] = L'\0';
        return false;
    }
    if (EndsWithBackslash(result))
        TrimTrailingBackslashes(result);
    return true;
}

bool QuoteArgument(wchar_t* path)
{
    int length = lstrlenW(path);
    if (length > 0 && path[length - 1] == L'\\')
        --length;
    // Both quotes and the terminator must fit into the buffer.
    if (length + 3 > SETUP_PATH_SIZE)
        return false;
    memmove(path + 1, path, length * sizeof(wchar_t));
    path[0] = L'"';
    path[length + 1] = L'"';
    path[length + 2] = L'\0';
    return true;
}

void StripFieldPrefix(wchar_t* field)
{
    const size_t length = wcslen(field);
    const size_t marker = wcscspn(field, L"1:");
    const size_t removed = marker < length ? marker + 2 : 1;
    if (removed >= length) {
        field[0] = L'\0';
        return;
    }
    memmove(field, field + removed, (length - removed + 1) * sizeof(wchar_t));
}

bool StaysInFolder(const wchar_t* name)
{
    if (IsSeparator(name[0]) || wcschr(name, L':'))
        return false;
    for (const wchar_t* component = name;; ) {
        const size_t length = wcscspn(component, L"\\/");
        if (IsParentLike(component, length) || IsDeviceName(component, length))
            return false;
        if (!component[length])
            return true;
        component += length + 1;
    }
}
