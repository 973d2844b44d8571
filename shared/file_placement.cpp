#include "file_placement.h"

#include <strsafe.h>

namespace {

const wchar_t kPlacementSuffix[] = L".~inst";
const int kSuffixLength = ARRAYSIZE(kPlacementSuffix) - 1;

// "<target>.~inst"; where that would pass the path limit, the target's name
// is cut short first (never its folder), so that every target that fits has
// a temporary file, found again from the target alone.
bool FormTemporaryPath(const wchar_t* target, wchar_t (&temporary)[PLACEMENT_PATH_SIZE])
{
    const int length = lstrlenW(target);
    const wchar_t* name = target + length;
    while (name > target && name[-1] != L'\\' && name[-1] != L'/')
        --name;
    int kept = length;
    if (kept > PLACEMENT_PATH_SIZE - 1 - kSuffixLength) {
        kept = PLACEMENT_PATH_SIZE - 1 - kSuffixLength;
        if (IS_HIGH_SURROGATE(target[kept - 1]))
            --kept;
    }
    return kept > name - target &&
           SUCCEEDED(StringCchPrintfW(temporary, PLACEMENT_PATH_SIZE, L"%.*s%s", kept, target, kPlacementSuffix));
}

// A copy of a read-only source is read-only too, and Windows deletes no
// read-only file.
void DeleteTemporary(const wchar_t* temporary)
{
    SetFileAttributesW(temporary, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(temporary);
}

// Whether target may be replaced now: it opens for writing and deleting
// beside whoever else has it open. A program holding it without sharing
// gives a sharing violation, a read-only file or a folder access denied.
DWORD CheckReplaceable(const wchar_t* target)
{
    HANDLE file = CreateFileW(target, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(file);
    return ERROR_SUCCESS;
}

// The temporary file takes the target's name. A target that opened for
// writing and deleting and still cannot be renamed over is open elsewhere
// (Wine refuses to rename over any open file, Windows over a running image).
DWORD MoveIntoPlace(const wchar_t* temporary, const wchar_t* target, bool replacing)
{
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replacing ? MOVEFILE_REPLACE_EXISTING : 0);
    if (MoveFileExW(temporary, target, flags))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return replacing && error == ERROR_ACCESS_DENIED ? ERROR_SHARING_VIOLATION : error;
}

}  // namespace

bool IsPlacementName(const wchar_t* name)
{
    const int length = lstrlenW(name);
    return length >= kSuffixLength &&
           CompareStringOrdinal(name + length - kSuffixLength, kSuffixLength, kPlacementSuffix, kSuffixLength,
                                TRUE) == CSTR_EQUAL;
}

void RemoveLeftoverCopy(const wchar_t* target)
{
    wchar_t temporary[PLACEMENT_PATH_SIZE];
    if (FormTemporaryPath(target, temporary) && GetFileAttributesW(temporary) != INVALID_FILE_ATTRIBUTES)
        DeleteTemporary(temporary);
}

DWORD PlaceFileCopy(const wchar_t* source, const wchar_t* target, bool replacing)
{
    wchar_t temporary[PLACEMENT_PATH_SIZE];
    if (!FormTemporaryPath(target, temporary))
        return ERROR_FILENAME_EXCED_RANGE;
    if (replacing) {
        const DWORD error = CheckReplaceable(target);
        if (error != ERROR_SUCCESS)
            return error;
    }
    DeleteTemporary(temporary);
    if (!CopyFileW(source, temporary, FALSE)) {
        const DWORD error = GetLastError();
        DeleteTemporary(temporary);
        return error;
    }
    const DWORD error = MoveIntoPlace(temporary, target, replacing);
    if (error != ERROR_SUCCESS)
        DeleteTemporary(temporary);
    return error;
}
