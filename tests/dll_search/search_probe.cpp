// A small program that does not protect itself, for showing that planted DLLs
// do load from the folder it is started in. It loads each DLL named on its
// command line by name, as Windows components do:
//   search_probe none|restrict|fallback <name>...
// With "restrict" it first restricts its search as the product's entry does;
// with "fallback" it takes the product's way for systems without the
// restriction, which no Windows that Wine can pretend to be lacks.
#include <windows.h>

#include "dll_search.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    if (lstrcmpW(argv[1], L"restrict") == 0)
        RestrictDllSearch();
    else if (lstrcmpW(argv[1], L"fallback") == 0)
        RestrictDllSearchWithoutDefaultDirectories();
    else if (lstrcmpW(argv[1], L"none") != 0)
        return 2;
    for (int i = 2; i < argc; ++i)
        LoadLibraryW(argv[i]);
    return 0;
}
