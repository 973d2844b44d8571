// Symbolic links and drive letters made on the Linux side of the Wine prefix:
// Windows programs see a link to a folder as a folder link (attributes
// FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT) and a link in the
// prefix's "dosdevices" folder as a drive. Made by the Unix programs ln and
// rm, which Wine starts like Windows programs.
#pragma once
#include <windows.h>
#include <string>

namespace testing_support {

// The Unix path of an existing file or folder as Wine maps it; "" when it
// cannot.
std::string UnixPathOf(const std::wstring& path);

// A symbolic link at link (a Windows path) to target. True once it shows.
bool MakeUnixLink(const std::wstring& link, const std::wstring& target);

// Removes the link itself, never what it points to. True once it is gone.
bool RemoveUnixLink(const std::wstring& link);

// A drive letter ("R:") of the prefix that shows folder, for one test.
class ScopedDriveLetter {
public:
    ScopedDriveLetter(wchar_t letter, const std::wstring& folder);
    ScopedDriveLetter(const ScopedDriveLetter&) = delete;
    ScopedDriveLetter& operator=(const ScopedDriveLetter&) = delete;
    ~ScopedDriveLetter();
    bool Ready() const { return ready_; }
    std::wstring Root() const { return std::wstring(1, letter_) + L":\\"; }

private:
    wchar_t letter_;
    std::string device_;  // the prefix's dosdevices entry, as a Unix path
    bool ready_ = false;
};

}  // namespace testing_support
