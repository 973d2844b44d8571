// The benchmark's yardstick: the least a program must do to install a folder
// tree, and nothing more. Walks the source with FindFirstFileA, creates each
// folder with CreateDirectoryA, copies each file with CopyFileA and gives it
// normal attributes with SetFileAttributesA, then prints the milliseconds the
// walk took (process start and end not included).
//
//   copy_loop <source folder> <target folder>
//
// Exit code 0, or 1 when a folder or a file could not be made.
#include <windows.h>
#include <stdio.h>
#include <strsafe.h>

namespace {

bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool CopyTree(const char* source, const char* target)
{
    if (!CreateDirectoryA(target, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    char pattern[MAX_PATH];
    if (FAILED(StringCchPrintfA(pattern, MAX_PATH, "%s\\*", source)))
        return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    bool copied = true;
    do {
        if (IsDotEntry(found.cFileName))
            continue;
        char from[MAX_PATH];
        char to[MAX_PATH];
        if (FAILED(StringCchPrintfA(from, MAX_PATH, "%s\\%s", source, found.cFileName)) ||
            FAILED(StringCchPrintfA(to, MAX_PATH, "%s\\%s", target, found.cFileName))) {
            copied = false;
            continue;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copied = CopyTree(from, to) && copied;
        else if (CopyFileA(from, to, FALSE))
            SetFileAttributesA(to, FILE_ATTRIBUTE_NORMAL);
        else
            copied = false;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return copied;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fputs("usage: copy_loop <source folder> <target folder>\n", stderr);
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    bool copied = CopyTree(argv[1], argv[2]);
    QueryPerformanceCounter(&end);
    printf("%.1f\n", double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
    return copied ? 0 : 1;
}
