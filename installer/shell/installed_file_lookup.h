// Files that the script's "Open" and "RegFiles" keys name, relative to the
// install folder. Only files of the install tree are used: the shell looks
// for a relative name beside this program (on the medium, where anyone may
// have put a "Tool.exe" or "Tool.bat") before anywhere else.
#pragma once

// "Open": an absolute value (a drive and separator, a network path, or a path
// from the current drive's root) stays as given; a relative one becomes the
// full path of an existing file below g_installDir, for a name without an
// extension the first of it and its names with kProgramExtensions that exists
// there.
// False when a relative value names no file there: it is not looked for
// anywhere else.
bool ResolveOpenTarget(char* file);

// "RegFiles": g_installDir followed by relative into path (kPathSize). False
// when it does not fit or does not lie below g_installDir.
bool FormatInstalledPath(const char* relative, char* path);
