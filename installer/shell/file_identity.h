// Whether two paths name one file, whatever their spelling.
#pragma once

// True when both paths open and lie on the same volume with the same file
// index: letter case, short names and relative forms of one file agree.
// False when either cannot be opened.
bool IsSameFile(const char* first, const char* second);
