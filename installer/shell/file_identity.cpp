#include "file_identity.h"

#include <windows.h>

#include "owned_handle.h"

namespace {

// Opened without any access right, so that a file another program runs or
// holds open can still be asked for its identity.
bool ReadFileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info)
{
    OwnedHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.IsValid() && GetFileInformationByHandle(file.Get(), info);
}

}  // namespace

bool IsSameFile(const char* first, const char* second)
{
    BY_HANDLE_FILE_INFORMATION one, other;
    return ReadFileIdentity(first, &one) && ReadFileIdentity(second, &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
           one.nFileIndexLow == other.nFileIndexLow;
}
