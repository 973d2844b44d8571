#include "file_lines.h"

namespace {

const DWORD kMaxFileSize = 4 * 1024 * 1024;

bool IsBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

unsigned char FoldAscii(unsigned c)
{
    return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

// Whether the bytes [start, end) spell name, ASCII case ignored.
bool Spells(const unsigned char* start, const unsigned char* end, const wchar_t* name)
{
    for (; start < end && *name; ++start, ++name) {
        if (*name > 0x7f || FoldAscii(*start) != FoldAscii(*name))
            return false;
    }
    return start == end && *name == L'\0';
}

const unsigned char* SkipBlanks(const unsigned char* start, const unsigned char* end)
{
    while (start < end && IsBlank(*start))
        ++start;
    return start;
}

const unsigned char* TrimEnd(const unsigned char* start, const unsigned char* end)
{
    while (end > start && IsBlank(end[-1]))
        --end;
    return end;
}

// The name of a section line "[name]", or false for any other line.
bool SectionName(const unsigned char* start, const unsigned char* end, const unsigned char** nameStart,
                 const unsigned char** nameEnd)
{
    start = SkipBlanks(start, end);
    if (start == end || *start != '[')
        return false;
    const unsigned char* close = start + 1;
    while (close < end && *close != ']')
        ++close;
    if (close == end)
        return false;
    *nameStart = SkipBlanks(start + 1, close);
    *nameEnd = TrimEnd(*nameStart, close);
    return true;
}

bool IsEntryLine(const unsigned char* start, const unsigned char* end)
{
    start = SkipBlanks(start, end);
    return start < end && *start != ';';
}

}  // namespace

FileLines::~FileLines()
{
    if (bytes_)
        HeapFree(GetProcessHeap(), 0, bytes_);
}

bool FileLines::Load(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = GetFileSize(file, nullptr);
    bool loaded = false;
    if (size != INVALID_FILE_SIZE && size <= kMaxFileSize) {
        bytes_ = static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), 0, size + 1));
        DWORD read = 0;
        loaded = bytes_ && (size == 0 || ReadFile(file, bytes_, size, &read, nullptr)) && read == size;
        if (loaded) {
            size_ = size;
            bytes_[size] = 0;
        }
    }
    CloseHandle(file);
    return loaded;
}

template <typename Visit>
void FileLines::ForEachLine(Visit visit) const
{
    int number = 1;
    for (DWORD start = 0; start < size_; ++number) {
        DWORD end = start;
        while (end < size_ && bytes_[end] != '\n')
            ++end;
        if (!visit(number, bytes_ + start, bytes_ + end))
            return;
        start = end + 1;
    }
}

int FileLines::SectionLine(const wchar_t* section) const
{
    int found = 0;
    ForEachLine([&](int number, const unsigned char* start, const unsigned char* end) {
        const unsigned char* nameStart;
        const unsigned char* nameEnd;
        if (SectionName(start, end, &nameStart, &nameEnd) && Spells(nameStart, nameEnd, section))
            found = number;
        return found == 0;
    });
    return found;
}

template <typename Visit>
int FileLines::ForEachLineIn(const wchar_t* section, Visit visit) const
{
    const int sectionLine = SectionLine(section);
    if (sectionLine == 0)
        return 0;
    int found = 0;
    ForEachLine([&](int number, const unsigned char* start, const unsigned char* end) {
        if (number <= sectionLine)
            return true;
        const unsigned char* nameStart;
        const unsigned char* nameEnd;
        if (SectionName(start, end, &nameStart, &nameEnd))
            return false;
        if (IsEntryLine(start, end) && visit(start, end))
            found = number;
        return found == 0;
    });
    return found ? found : sectionLine;
}

int FileLines::KeyLine(const wchar_t* section, const wchar_t* key) const
{
    return ForEachLineIn(section, [&](const unsigned char* start, const unsigned char* end) {
        const unsigned char* equals = start;
        while (equals < end && *equals != '=')
            ++equals;
        start = SkipBlanks(start, equals);
        return Spells(start, TrimEnd(start, equals), key);
    });
}

int FileLines::EntryLine(const wchar_t* section, int index) const
{
    return ForEachLineIn(section, [&](const unsigned char*, const unsigned char*) { return index-- == 0; });
}

int FileLines::LineAt(DWORD offset) const
{
    int line = 1;
    for (DWORD i = 0; i < offset && i < size_; ++i) {
        if (bytes_[i] == '\n')
            ++line;
    }
    return line;
}
