// Whether a path built from script text or a listed name stays inside the
// folder it was meant for: a target is the folder's text plus the script's,
// and ".." components, a drive or a stream name in the added part could lead
// it anywhere.
#pragma once

// True when path, made full, is folder (made full) or lies below it, compared
// without regard to case, and the part below names no drive or stream (":").
// False as well when either cannot be made full within kPathSize.
bool IsPathInFolderTree(const char* path, const char* folder);

// The same, but path must lie below folder: a name that the system trims to
// nothing ("...", a trailing blank) names the folder itself, not an entry.
bool IsPathBelowFolder(const char* path, const char* folder);
