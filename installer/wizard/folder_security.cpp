#include "folder_security.h"

#include <sddl.h>

#include "error_box.h"
#include "folder_creation.h"
#include "resource_ids.h"
#include "shared_folders.h"

namespace {

// Protected DACL; SYSTEM and Administrators full control, Users
// FILE_GENERIC_READ | FILE_GENERIC_EXECUTE; every entry inherited by
// subfolders and files.
const char kProtectedFolderDescriptor[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

}  // namespace

ProtectedFolderSecurity::ProtectedFolderSecurity()
{
    ZeroMemory(&attributes_, sizeof(attributes_));
    attributes_.nLength = sizeof(attributes_);
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kProtectedFolderDescriptor, SDDL_REVISION_1,
                                                              &attributes_.lpSecurityDescriptor, nullptr))
        attributes_.lpSecurityDescriptor = nullptr;
}

ProtectedFolderSecurity::~ProtectedFolderSecurity()
{
    if (attributes_.lpSecurityDescriptor)
        LocalFree(attributes_.lpSecurityDescriptor);
}

bool CreateInstallFolderPath(const char* folder)
{
    if (IsBelowProgramFiles(folder))
        return CreateFolderPath(folder);
    ProtectedFolderSecurity security;
    // Without the descriptor the folder would be left open to users.
    if (!security.Get()) {
        ShowErrorWith(IDS_FOLDER_CREATE_FAILED, folder);
        return false;
    }
    return CreateFolderPath(folder, security.Get());
}
