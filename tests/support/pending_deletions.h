// The deletions a run scheduled for the next restart, as the system keeps
// them: its list of pending file operations and "wininit.ini".
#pragma once
#include <string>
#include <vector>

namespace testing_support {

// The registry key that holds the list of pending file operations.
extern const wchar_t kSessionManagerKey[];

// The source names of the pending operations ("\??\" in front) and the
// "NUL=" lines of the "rename" section of "wininit.ini", where that list
// cannot be written.
std::vector<std::wstring> ScheduledDeletions();

}  // namespace testing_support
