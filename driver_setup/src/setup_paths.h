// Path and field text helpers of the driver installer.
#pragma once
#include <windows.h>

// Size in characters of every path buffer of the driver installer.
const int SETUP_PATH_SIZE = MAX_PATH;

// Joins directory and name with exactly one backslash into result
// (SETUP_PATH_SIZE characters). A trailing run of backslashes of directory is
// cut down in place; the first two characters are never looked at, so "C:\"
// keeps its backslash. False, with result left empty, when an argument is
// missing or the joined path does not fit.
bool JoinPath(wchar_t* result, wchar_t* directory, const wchar_t* name);

// Puts path (a SETUP_PATH_SIZE buffer) in double quotes for a command line,
// dropping one trailing backslash so that it cannot escape the closing quote.
// False, with path unchanged, when the quoted path would not fit.
bool QuoteArgument(wchar_t* path);

// Drops the prefix of a configuration field in place: everything up to and
// including the character after the first "1" or ":", or else the first
// character (the blank written after a comma).
void StripFieldPrefix(wchar_t* field);

// Whether a name of a file list stays inside the folder it is joined to: no
// leading separator, no drive or stream (":"), no component made of dots
// (and blanks) that names or may be trimmed to a parent folder, and none that
// names a device ("NUL", "COM1.dll"). Subfolders are allowed.
bool StaysInFolder(const wchar_t* name);
