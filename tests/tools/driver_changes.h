// The driver side of a medium run: which driver-store entries and dependent
// files a run added or replaced, and the spooler state after it.
#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace medium_run {

class DriverChanges {
public:
    // Notes the watched folders as they are now: the driver store, the
    // system folders and the explicit targets of the medium's TQSetup.ini.
    explicit DriverChanges(const std::wstring& medium);

    // Prints every file added or replaced since, and the spooler state.
    void Report() const;

private:
    // A folder watched for files that a run adds or changes, with the name
    // under which it is reported (System32 is reached through "sysnative").
    struct WatchedFolder {
        std::wstring path;
        std::wstring shownAs;
        std::wstring pattern;
    };
    // File name -> last-write time and size, of the files in one folder.
    using FolderState = std::map<std::wstring, std::pair<ULONGLONG, ULONGLONG>>;

    static FolderState ReadFolderState(const WatchedFolder& folder);
    std::wstring DescribeDriverStoreEntry(const std::wstring& entry) const;

    std::wstring medium_;
    std::vector<WatchedFolder> folders_;
    std::vector<FolderState> before_;
};

}  // namespace medium_run
