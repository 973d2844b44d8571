// The security of a new install folder. Program Files gives the folders below
// it a descriptor that lets only administrators and the system change them;
// elsewhere (the root form "\Vendor", a data drive, ProgramData) a new folder
// inherits its parent's, and users may be allowed to modify the drive root's
// subfolders. There the install folder gets the same protection explicitly.
#pragma once
#include <windows.h>

// A protected descriptor (SE_DACL_PROTECTED, nothing inherited from above)
// granting Administrators and SYSTEM full control and Users read and
// execute, each to the folder, its subfolders and its files.
class ProtectedFolderSecurity {
public:
    ProtectedFolderSecurity();
    ProtectedFolderSecurity(const ProtectedFolderSecurity&) = delete;
    ProtectedFolderSecurity& operator=(const ProtectedFolderSecurity&) = delete;
    ~ProtectedFolderSecurity();

    // Null when the descriptor could not be made.
    SECURITY_ATTRIBUTES* Get() { return attributes_.lpSecurityDescriptor ? &attributes_ : nullptr; }

private:
    SECURITY_ATTRIBUTES attributes_;
};

// CreateFolderPath for the install folder (ending in a separator): outside
// Program Files every level it creates gets ProtectedFolderSecurity. False
// after the failing level has reported itself (message 5 or 6).
bool CreateInstallFolderPath(const char* folder);
