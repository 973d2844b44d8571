#include "folder_creation.h"

#include "error_box.h"
#include "globals.h"
#include "path_helpers.h"
#include "resource_ids.h"

namespace {

// Free bytes of the volume whose root is given: GetDiskFreeSpaceExA where the
// system has it, else the cluster arithmetic of GetDiskFreeSpaceA.
ULONGLONG FreeBytesOnRoot(const char* root)
{
    typedef BOOL(WINAPI * FreeSpaceEx)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, "GetDiskFreeSpaceExA") : nullptr;
    if (found) {
        ULARGE_INTEGER available = {}, total = {}, free = {};
        reinterpret_cast<FreeSpaceEx>(reinterpret_cast<void*>(found))(root, &available, &total, &free);
        return available.QuadPart;
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return 0;
    return static_cast<ULONGLONG>(sectorsPerCluster) * bytesPerSector * freeClusters;
}

}  // namespace

bool CreateOneFolder(const char* path, SECURITY_ATTRIBUTES* security)
{
    char folder[kPathSize];
    lstrcpynA(folder, path, kPathSize);
    char* rootEnd = FindRootEnd(folder);
    if (rootEnd && rootEnd[1] == '\0')
        return true;
    // The messages name the folder without its trailing separator.
    char* last = FindLastSeparator(folder);
    if (last && last[1] == '\0')
        *last = '\0';

    DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (CreateDirectoryA(folder, security))
            return true;
        ShowErrorWith(IDS_FOLDER_CREATE_FAILED, folder);
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return true;
    ShowErrorWith(IDS_FOLDER_BLOCKED_BY_FILE, folder);
    return false;
}

bool CreateFolderPath(const char* path, SECURITY_ATTRIBUTES* security)
{
    char prefix[kPathSize];
    lstrcpynA(prefix, path, kPathSize);
    if (prefix[0] == '\0' || prefix[1] != ':' || prefix[2] != '\\')
        return CreateOneFolder(prefix, security);

    for (char* separator = FindFirstSeparator(prefix + 3); separator;
         separator = FindFirstSeparator(separator + 1)) {
        char next = separator[1];
        separator[1] = '\0';
        bool created = CreateOneFolder(prefix, security);
        separator[1] = next;
        if (!created)
            return false;
    }
    return true;
}

DWORD GetFreeSpaceMB()
{
    char root[kPathSize];
    DWORD length = GetFullPathNameA(g_installDir, kPathSize, root, nullptr);
    if (length == 0 || length >= kPathSize)
        return 0;
    char* rootEnd = FindRootEnd(root);
    if (!rootEnd)
        return 0;
    rootEnd[1] = '\0';

    ULONGLONG megabytes = FreeBytesOnRoot(root) >> 20;
    return megabytes > 0xFFFFFFFFull ? 0xFFFFFFFF : static_cast<DWORD>(megabytes);
}
