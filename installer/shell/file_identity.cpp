#include "file_identity.h"

#include "owned_handle.h"

bool ReadFileIdentity(const char* path, FileIdentity* identity)
{
    // Opened without any access right, so that a file another program runs
    // or holds open can still be asked for its identity; folders too.
    OwnedHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.IsValid() && ReadHandleIdentity(file.Get(), identity);
}

bool ReadHandleIdentity(HANDLE handle, FileIdentity* identity)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        return false;
    identity->volume = info.dwVolumeSerialNumber;
    identity->indexHigh = info.nFileIndexHigh;
    identity->indexLow = info.nFileIndexLow;
    return true;
}

bool IsSameIdentity(const FileIdentity& one, const FileIdentity& other)
{
    return one.volume == other.volume && one.indexHigh == other.indexHigh && one.indexLow == other.indexLow;
}

bool IsSameFile(const char* first, const char* second)
{
    FileIdentity one, other;
    return ReadFileIdentity(first, &one) && ReadFileIdentity(second, &other) && IsSameIdentity(one, other);
}
