// Copying the current entry (g_entryName, relative to the source folder) to
// its target (g_entryTarget), keeping a target that is newer than the source.
#pragma once
#include <windows.h>

// Room for one time line: short date, time and a file name.
enum { kFileStampSize = 520 };

// force: overwrite an existing target without comparing times. True when the
// target is now a copy of the source, a newer file left in place, or the
// source itself (with normal attributes in each case); false after message
// 5/6 (target folder), 18 (target in use) or 21 (copy or overwrite failed),
// with an existing target as it was (file_placement.h).
bool CopyEntryFile(bool force);

// True when the source was last written at the same time as the target or
// later. A source that cannot be found counts as older, a target that cannot
// be found as older than any source.
bool IsSourceNotOlder(const char* source, const char* target);

// "<short date> <24-hour time>  <name>" of a UTC file time, in local time.
void FormatFileStamp(char* out, size_t outSize, const char* name, const FILETIME& time);
