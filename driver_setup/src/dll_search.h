// Where the driver installer's DLLs come from. It runs elevated from a
// package folder that others may write to, so no DLL may load from that
// folder or the current directory.
#pragma once

// Restricts the DLL search of this process to the system directory and loads
// the DLLs that other components load by name from there. The entry calls it
// first, before anything loads a DLL.
void RestrictDllSearch();

// What RestrictDllSearch does on a Windows 7 without the update that brings
// SetDefaultDllDirectories: the current directory leaves the search, and the
// preloaded DLLs are all that keeps the package folder out.
void RestrictDllSearchWithoutDefaultDirectories();
