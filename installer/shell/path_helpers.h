// Path operations on ANSI paths in the system code page. A backslash and a
// slash are both separators; every scan is double-byte aware. Operations that
// lengthen a path work in place on a buffer of kPathSize characters and
// return null when the result had to be cut to fit.
#pragma once
#include <windows.h>

bool IsPathSeparator(char c);

// True when path starts with an ASCII letter and a colon.
bool HasDrivePrefix(const char* path);

// The first separator; without one, the colon of a drive prefix; else null.
char* FindFirstSeparator(char* path);

// The last separator; without one, the colon of a drive prefix; else null.
char* FindLastSeparator(char* path);

// Where the last component starts (after FindLastSeparator, or the start).
char* PathLastComponent(char* path);

// The last dot of the last component; null when there is none, when it is
// the component's first character, or for "." and "..".
char* PathExtension(char* path);

// The separator that ends the root of an absolute path ("C:\", "\\srv\share\",
// "\"); null for a relative path or an incomplete network root.
char* FindRootEnd(char* path);

// Appends a separator unless directory already ends in one (or is a bare
// drive), then name. Returns directory.
char* PathAppend(char* directory, const char* name);

// Replaces the extension after its dot, or appends a dot and extension.
char* PathSetExtension(char* path, const char* extension);

// The full form of path, without a trailing separator except at a drive root.
// A path that GetFullPathNameA cannot expand into kPathSize stays unchanged.
char* PathFullName(char* path);
