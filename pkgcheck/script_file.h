// One install script of the package, read as install reads it: through the
// private-profile functions, its text taken as bytes of the script's code
// page (installE.INF 1252, installJ.INF 932, installC.INF 936, install.INF
// the code page of this process).
#pragma once
#include <windows.h>

#include "file_lines.h"
#include "package_folder.h"

// Value buffers large enough to see what install's buffers cut off.
const int kValueBytes = 1024;

struct ScriptFile {
    const wchar_t* name;  // "installE.INF", ...
    wchar_t path[kPathChars];
    UINT codePage;
    FileLines lines;

    // The value's bytes as install reads them (buffer kValueBytes), "" when
    // missing; returns the byte count.
    int Read(const wchar_t* section, const wchar_t* key, char (&value)[kValueBytes]) const;
    int ReadInt(const wchar_t* section, const wchar_t* key) const;
    // The bytes as UTF-16 in the script's code page.
    void Decode(const char* bytes, wchar_t* text, int chars) const;
    // The value of key decoded.
    void ReadText(const wchar_t* section, const wchar_t* key, wchar_t (&text)[kValueBytes]) const;
    // Every key name of the section, zero-separated and ending with an empty
    // one (GetPrivateProfileStringW with no key).
    void ReadKeyNames(const wchar_t* section, wchar_t* names, DWORD chars) const;

    int KeyLine(const wchar_t* section, const wchar_t* key) const { return lines.KeyLine(section, key); }
    int SectionLine(const wchar_t* section) const { return lines.SectionLine(section); }

    // The first separator/comma/... of bytes, skipping the trail bytes of
    // double-byte characters of the script's code page; null when absent.
    const char* FindByte(const char* bytes, char wanted) const;
};

// The numbered key n ("%u") or "RegFiles" n.
void FormatNumberKey(wchar_t (&key)[32], const wchar_t* stem, unsigned n);
