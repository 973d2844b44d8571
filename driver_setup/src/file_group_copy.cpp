#include "file_group_copy.h"

#include <shlwapi.h>
#include <stdlib.h>
#include <strsafe.h>
#include <wchar.h>

#include "file_placement.h"
#include "handles.h"
#include "setup_paths.h"

namespace {

bool ReadWriteTime(const wchar_t* path, FILETIME* written)
{
    KernelHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsValid() && GetFileTime(file.Get(), nullptr, nullptr, written);
}

bool IsNewerVersion(const wchar_t* source, const wchar_t* target)
{
    DWORD sourceHigh = 0, sourceLow = 0, targetHigh = 0, targetLow = 0;
    if (!ReadFileVersion(source, &sourceHigh, &sourceLow) ||
        !ReadFileVersion(target, &targetHigh, &targetLow))
        return false;
    return sourceHigh > targetHigh || (sourceHigh == targetHigh && sourceLow > targetLow);
}

bool IsWrittenLater(const wchar_t* source, const wchar_t* target)
{
    FILETIME sourceTime = {}, targetTime = {};
    if (!ReadWriteTime(source, &sourceTime) || !ReadWriteTime(target, &targetTime))
        return false;
    return CompareFileTime(&sourceTime, &targetTime) > 0;
}

// Whether an existing target file gives way to the source under mode.
bool ShouldReplace(const wchar_t* source, const wchar_t* target, DWORD mode)
{
    switch (mode & CopyAlways) {
    case CopyAlways:
        return true;
    case CopyByVersion:
        return IsNewerVersion(source, target);
    case CopyByTime:
        return IsWrittenLater(source, target);
    default:
        return false;
    }
}

bool IsSpoolerFile(const wchar_t* name)
{
    return wcsncmp(name, L"PCP", 3) == 0 || wcsncmp(name, L"PDR", 3) == 0;
}

// Source and target path of a listed file: ERROR_SUCCESS, or why there are
// none. A name that would lead out of the folders, or that a cut-short copy
// leaves behind (and the next run removes), fails like a file that cannot be
// copied.
DWORD FormFilePaths(const wchar_t* sourceDirectory, const wchar_t* targetDirectory, const wchar_t* name,
                    wchar_t (&source)[SETUP_PATH_SIZE], wchar_t (&target)[SETUP_PATH_SIZE])
{
    if (!StaysInFolder(name) || IsPlacementName(name))
        return ERROR_INVALID_NAME;
    if (FAILED(StringCchPrintfW(target, ARRAYSIZE(target), L"%s\\%s", targetDirectory, name)) ||
        FAILED(StringCchPrintfW(source, ARRAYSIZE(source), L"%s\\%s", sourceDirectory, name)))
        return ERROR_FILENAME_EXCED_RANGE;
    return ERROR_SUCCESS;
}

bool IsInUse(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

}  // namespace

int CopyFileGroup(const wchar_t* sourceDirectory, const wchar_t* targetDirectory,
                  const StringList& fileNames, DWORD mode)
{
    PrinterSystem windows;
    return CopyFileGroup(sourceDirectory, targetDirectory, fileNames, mode, windows);
}

int CopyFileGroup(const wchar_t* sourceDirectory, const wchar_t* targetDirectory,
                  const StringList& fileNames, DWORD mode, PrinterSystem& system)
{
    if (!EnsureDirectory(targetDirectory))
        return 0;
    bool failed = false;
    bool spoolerStopped = false;
    DWORD failure = ERROR_SUCCESS;
    for (int i = 0; i < fileNames.Count(); ++i) {
        const wchar_t* name = fileNames.At(i);
        wchar_t target[SETUP_PATH_SIZE];
        wchar_t source[SETUP_PATH_SIZE];
        const DWORD nameError = FormFilePaths(sourceDirectory, targetDirectory, name, source, target);
        if (nameError != ERROR_SUCCESS) {
            failed = true;
            failure = nameError;
            continue;
        }
        RemoveLeftoverCopy(target);
        const bool replacing = PathFileExistsW(target) != FALSE;
        if (replacing && !ShouldReplace(source, target, mode))
            continue;
        DWORD error = PlaceFileCopy(source, target, replacing);
        // An existing file in use: only a spooler file may be freed, by stopping the spooler.
        if (replacing && IsInUse(error) && IsSpoolerFile(name) && (mode & CopyMayStopSpooler) && !spoolerStopped) {
            if (system.ControlSpooler(SpoolerStop) == 0) {
                SetLastError(SPOOLER_STOP_FAILED);
                return 0;
            }
            spoolerStopped = true;
            error = PlaceFileCopy(source, target, replacing);
        }
        // A file that stays old, in use or not, fails the group: success
        // means that every file the rules replace is there.
        if (error != ERROR_SUCCESS) {
            failed = true;
            failure = error;
        }
    }
    if (!failed)
        return spoolerStopped ? 2 : 1;
    SetLastError(failure);
    return spoolerStopped ? -2 : 0;
}

bool EnsureDirectory(const wchar_t* path)
{
    wchar_t parentPath[SETUP_PATH_SIZE];
    wchar_t parent[SETUP_PATH_SIZE];
    if (FAILED(StringCchPrintfW(parentPath, ARRAYSIZE(parentPath), L"%s\\..\\", path)) ||
        !_wfullpath(parent, parentPath, ARRAYSIZE(parent)) || !PathFileExistsW(parent) ||
        !PathIsDirectoryW(parent)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (PathFileExistsW(path) && PathIsDirectoryW(path))
        return true;
    return CreateDirectoryW(path, nullptr) != FALSE;
}

bool ReadFileVersion(const wchar_t* path, DWORD* mostSignificant, DWORD* leastSignificant)
{
    if (!path || !PathFileExistsW(path))
        return false;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0)
        return false;
    HeapBuffer block(size);
    if (!block.Get() || !GetFileVersionInfoW(path, 0, size, block.Get()))
        return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.Get(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    *mostSignificant = info->dwFileVersionMS;
    *leastSignificant = info->dwFileVersionLS;
    return true;
}
