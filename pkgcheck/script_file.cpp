#include "script_file.h"

#include <strsafe.h>

int ScriptFile::Read(const wchar_t* section, const wchar_t* key, char (&value)[kValueBytes]) const
{
    // The W function reads the file in this process's code page; converted
    // back to it, the bytes are those of the file (what install's "A" read
    // gives in a process of that code page).
    wchar_t wide[kValueBytes];
    GetPrivateProfileStringW(section, key, L"", wide, ARRAYSIZE(wide), path);
    int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, value, kValueBytes, nullptr, nullptr);
    // Double-byte text longer than the buffer: half as many characters fit,
    // still far more than any of install's buffers takes.
    if (length <= 0) {
        wide[kValueBytes / 2 - 1] = L'\0';
        length = WideCharToMultiByte(CP_ACP, 0, wide, -1, value, kValueBytes, nullptr, nullptr);
    }
    if (length <= 0) {
        value[0] = '\0';
        return 0;
    }
    return length - 1;
}

int ScriptFile::ReadInt(const wchar_t* section, const wchar_t* key) const
{
    return GetPrivateProfileIntW(section, key, 0, path);
}

void ScriptFile::Decode(const char* bytes, wchar_t* text, int chars) const
{
    const int length = MultiByteToWideChar(codePage, 0, bytes, -1, text, chars);
    if (length <= 0)
        text[0] = L'\0';
    text[chars - 1] = L'\0';
}

void ScriptFile::ReadText(const wchar_t* section, const wchar_t* key, wchar_t (&text)[kValueBytes]) const
{
    char bytes[kValueBytes];
    Read(section, key, bytes);
    Decode(bytes, text, kValueBytes);
}

void ScriptFile::ReadKeyNames(const wchar_t* section, wchar_t* names, DWORD chars) const
{
    const DWORD length = GetPrivateProfileStringW(section, nullptr, L"", names, chars, path);
    names[length < chars - 1 ? length : chars - 2] = L'\0';
    names[length < chars - 1 ? length + 1 : chars - 1] = L'\0';
}

const char* ScriptFile::FindByte(const char* bytes, char wanted) const
{
    for (; *bytes; ++bytes) {
        if (*bytes == wanted)
            return bytes;
        if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*bytes)) && bytes[1])
            ++bytes;
    }
    return nullptr;
}

void FormatNumberKey(wchar_t (&key)[32], const wchar_t* stem, unsigned n)
{
    StringCchPrintfW(key, ARRAYSIZE(key), L"%s%u", stem, n);
}
