// One install script of the package, read with install's own reader, so that
// its values are the bytes install gets in the code page of this process;
// shown as text of the script's code page (installE.INF 1252, installJ.INF
// 932, installC.INF 936, install.INF the code page of this process).
#pragma once
#include <windows.h>

#include "file_lines.h"
#include "package_folder.h"

// Value buffers large enough to see what install's buffers cut off.
const int kValueBytes = 1024;

struct ScriptFile {
    const wchar_t* name;  // "installE.INF", ...
    wchar_t path[kPathChars];
    char ansiPath[kPathChars];  // path as install's "A" functions take it
    UINT codePage;
    // Read by every user interface without a script of its own
    // (installE.INF), or by every one (install.INF).
    bool readByOtherLanguages;
    FileLines lines;

    // The value's bytes as install reads them (buffer kValueBytes), "" when
    // missing; returns the byte count. install's reader is pointed at this
    // script for it (g_scriptPath).
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

    // Points install's globals at this script, as install.exe beside it
    // would see it, with an install folder made from Folder below a
    // program-files folder of the usual form.
    enum Selection { StopsAtSettings, InstallDirTooLong, Selected };
    Selection SelectForInstallRules() const;

    // A path install resolved (a target, an icon file), relative to its
    // install folder, decoded; false when it does not lie below it.
    bool RelativeToInstallDir(const char* path, wchar_t (&relative)[kValueBytes]) const;
};

// Sets ansiPath from path: in the code page of this process, else as the
// short name; false when neither names the file.
bool SetAnsiPath(ScriptFile& script);

// The numbered key n ("%u") or "RegFiles" n.
void FormatNumberKey(wchar_t (&key)[32], const wchar_t* stem, unsigned n);
