#include "destination_browse.h"

#include <shlobj.h>

#include "globals.h"
#include "path_helpers.h"

namespace {

// The shell allocator, released on every way out.
class ShellAllocator {
public:
    ShellAllocator()
    {
        if (FAILED(SHGetMalloc(&malloc_)))
            malloc_ = nullptr;
    }
    ShellAllocator(const ShellAllocator&) = delete;
    ShellAllocator& operator=(const ShellAllocator&) = delete;
    ~ShellAllocator()
    {
        if (malloc_)
            malloc_->Release();
    }
    IMalloc* Get() const { return malloc_; }

private:
    IMalloc* malloc_ = nullptr;
};

}  // namespace

bool BrowseForDestination(HWND page, int editId)
{
    ShellAllocator allocator;
    if (!allocator.Get())
        return false;

    char folder[kPathSize];
    GetDlgItemTextA(page, editId, folder, kPathSize);
    PathFullName(folder);

    BROWSEINFOA browse;
    ZeroMemory(&browse, sizeof(browse));
    browse.hwndOwner = page;
    browse.lpszTitle = folder;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = BrowseCallback;
    browse.lParam = reinterpret_cast<LPARAM>(folder);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (!chosen)
        return false;

    char picked[MAX_PATH];
    bool written = SHGetPathFromIDListA(chosen, picked) && SetDlgItemTextA(page, editId, picked);
    allocator.Get()->Free(chosen);
    return written;
}

int CALLBACK BrowseCallback(HWND browseWindow, UINT message, LPARAM lParam, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageA(browseWindow, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}
