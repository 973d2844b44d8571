#pragma once
#include <windows.h>
#include <string>

// The command line another (32-bit) process was started with, read from its
// process parameters; "" when it cannot be read.
std::wstring ProcessCommandLine(DWORD pid);
