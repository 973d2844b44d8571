// The export table of a Windows image (DLL or EXE), read from the file
// without loading it.
#pragma once
#include <windows.h>

enum ImageExportsRead {
    ImageUnreadable,  // the file cannot be opened or read
    ImageNotAnImage,  // no PE image, or a damaged one
    ImageRead,
};

// Sets found[i] when the image exports names[i] by name, and *machine to the
// processor it is built for (IMAGE_FILE_MACHINE_I386, ..._AMD64, ...).
ImageExportsRead FindImageExports(const wchar_t* path, const char* const* names, int count, bool* found,
                                  WORD* machine);
