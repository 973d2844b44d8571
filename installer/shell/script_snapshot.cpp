#include "script_snapshot.h"

#include <string.h>

#include "owned_handle.h"
#include "path_helpers.h"

namespace {

// A larger script is left to the private-profile functions.
const DWORD kLargestHeldScript = 16 * 1024 * 1024;

void* Allocate(SIZE_T bytes)
{
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void Release(void* memory)
{
    if (memory)
        HeapFree(GetProcessHeap(), 0, memory);
}

// Heap memory freed with its holder unless handed on.
class HeapBlock {
public:
    explicit HeapBlock(void* memory) : memory_(memory) {}
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;
    ~HeapBlock() { Release(memory_); }
    template <class T>
    T* As() const { return static_cast<T*>(memory_); }
    template <class T>
    T* HandOn()
    {
        T* memory = static_cast<T*>(memory_);
        memory_ = nullptr;
        return memory;
    }

private:
    void* memory_;
};

// White space of the private-profile functions: ASCII blanks and control
// characters 9 to 13, and ^Z (an old end-of-file mark); no other space.
bool IsProfileSpace(WCHAR c)
{
    return c == ' ' || (c >= 9 && c <= 13) || c == 0x1A;
}

// [start, end) of text without white space at either end.
void TrimRange(const WCHAR* text, int* start, int* end)
{
    while (*start < *end && IsProfileSpace(text[*start]))
        ++*start;
    while (*end > *start && IsProfileSpace(text[*end - 1]))
        --*end;
}

int FindChar(const WCHAR* text, int start, int end, WCHAR c)
{
    while (start < end && text[start] != c)
        ++start;
    return start;
}

// One line in [start, end), trimmed. A "[" begins a section name, which ends
// at the line's last "]" and loses the white space around it; without a "]"
// the line is a key. A key's name ends
// at its first "=" and its value follows it; both lose the white space
// around them. Zeros are written where names and values end.
void ParseLine(WCHAR* text, int start, int end, ScriptLine* line)
{
    if (text[start] == '[') {
        int close = end - 1;
        while (close > start && text[close] != ']')
            --close;
        if (close > start) {
            int nameStart = start + 1;
            TrimRange(text, &nameStart, &close);
            text[close] = '\0';
            *line = {text + nameStart, nullptr, lstrlenW(text + nameStart), true};
            return;
        }
    }
    int nameEnd = FindChar(text, start, end, '=');
    line->value = nullptr;
    if (nameEnd < end) {
        int valueStart = nameEnd + 1;
        TrimRange(text, &valueStart, &end);
        text[end] = '\0';
        line->value = text + valueStart;
        int nameStart = start;
        TrimRange(text, &nameStart, &nameEnd);
    }
    text[nameEnd] = '\0';
    line->name = text + start;
    line->nameLength = lstrlenW(line->name);
    line->isSection = false;
}

// Splits text into lines as the private-profile functions do: any run of CR
// and LF ends a line, and blank lines do not count.
int ParseLines(WCHAR* text, int length, ScriptLine* lines)
{
    int count = 0;
    int next = 0;
    while (next < length) {
        int start = next;
        while (next < length && text[next] != '\n' && text[next] != '\r')
            ++next;
        int end = next;
        while (next < length && (text[next] == '\n' || text[next] == '\r'))
            ++next;
        TrimRange(text, &start, &end);
        if (start < end)
            ParseLine(text, start, end, &lines[count++]);
    }
    return count;
}

bool HasByteOrderMark(const BYTE* bytes, DWORD size)
{
    return (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) ||
           (size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)));
}

// The whole file; null when it cannot be read or is too large to hold.
BYTE* ReadWholeFile(const char* path, DWORD* size)
{
    OwnedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER fileSize;
    if (!file.IsValid() || !GetFileSizeEx(file.Get(), &fileSize) || fileSize.QuadPart > kLargestHeldScript)
        return nullptr;
    HeapBlock bytes(Allocate(fileSize.LowPart + 1));
    if (!bytes.As<BYTE>() || !ReadFile(file.Get(), bytes.As<BYTE>(), fileSize.LowPart, size, nullptr) ||
        *size != fileSize.LowPart)
        return nullptr;
    return bytes.HandOn<BYTE>();
}

// Reads the file at path into snapshot as text in the ANSI code page, split
// into lines. False when it is left to the private-profile functions.
bool LoadScript(ScriptSnapshot* snapshot, const char* path)
{
    DWORD size = 0;
    HeapBlock content(ReadWholeFile(path, &size));
    const char* bytes = content.As<char>();
    if (!bytes || HasByteOrderMark(content.As<BYTE>(), size))
        return false;
    int length = size ? MultiByteToWideChar(CP_ACP, 0, bytes, int(size), nullptr, 0) : 0;
    if (size && length == 0)
        return false;
    // A zero after the last value; at most one line for every two characters.
    HeapBlock text(Allocate((SIZE_T(length) + 1) * sizeof(WCHAR)));
    HeapBlock lines(Allocate((SIZE_T(length) / 2 + 1) * sizeof(ScriptLine)));
    if (!text.As<WCHAR>() || !lines.As<ScriptLine>() ||
        (length && !MultiByteToWideChar(CP_ACP, 0, bytes, int(size), text.As<WCHAR>(), length)))
        return false;
    text.As<WCHAR>()[length] = '\0';
    snapshot->lineCount = ParseLines(text.As<WCHAR>(), length, lines.As<ScriptLine>());
    snapshot->text = text.HandOn<WCHAR>();
    snapshot->lines = lines.HandOn<ScriptLine>();
    return true;
}

void ForgetScript(ScriptSnapshot* snapshot)
{
    Release(snapshot->text);
    Release(snapshot->lines);
    snapshot->text = nullptr;
    snapshot->lines = nullptr;
    snapshot->lineCount = 0;
    snapshot->held = false;
}

// name (a section or key asked for) in UTF-16 without the white space around
// it; false when it does not fit into MAX_PATH characters.
bool WideName(const char* name, WCHAR* wide, int* start, int* end)
{
    int length = MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH);
    if (length == 0)
        return false;
    *start = 0;
    *end = length - 1;
    TrimRange(wide, start, end);
    return true;
}

// Only ASCII letters match in either case, as the private-profile functions
// compare names; other letters match only themselves.
WCHAR FoldAscii(WCHAR c)
{
    return c >= 'a' && c <= 'z' ? WCHAR(c - 'a' + 'A') : c;
}

bool IsSameName(const ScriptLine& line, const WCHAR* name, int length)
{
    if (line.nameLength != length)
        return false;
    for (int i = 0; i < length; ++i) {
        if (FoldAscii(line.name[i]) != FoldAscii(name[i]))
            return false;
    }
    return true;
}

// The value of key in the first section named section; null when the key is
// missing there or has no "=". Later sections of the same name are not seen.
// The keys before the first section form a section without a name.
const WCHAR* FindValue(const ScriptSnapshot& snapshot, const WCHAR* section, int sectionLength, const WCHAR* key,
                       int keyLength)
{
    int n = -1;
    if (sectionLength > 0) {
        n = 0;
        while (n < snapshot.lineCount &&
               !(snapshot.lines[n].isSection && IsSameName(snapshot.lines[n], section, sectionLength)))
            ++n;
    }
    for (++n; n < snapshot.lineCount && !snapshot.lines[n].isSection; ++n) {
        if (IsSameName(snapshot.lines[n], key, keyLength))
            return snapshot.lines[n].value;
    }
    return nullptr;
}

// Copies value into buffer as GetPrivateProfileStringA does: a value in
// matching quotes loses them (the closing one only where the buffer holds
// it), at most size - 1 characters, then the ANSI form of those, cut after
// the last whole character that fits into size - 1 bytes. Returns the
// length, or size - 1 when the value was cut there.
DWORD CopyValue(const WCHAR* value, char* buffer, DWORD size)
{
    int length = lstrlenW(value);
    const bool quoted = (value[0] == '\'' || value[0] == '"') && length > 1 && value[length - 1] == value[0];
    if (quoted) {
        ++value;
        --length;
    }
    const int room = int(size - 1);
    int copied = length < room ? length : room;
    if (quoted && int(size) >= length && copied > 0)
        --copied;
    if (copied == 0) {
        buffer[0] = '\0';
        return 0;
    }
    int written = WideCharToMultiByte(CP_ACP, 0, value, copied, buffer, room, nullptr, nullptr);
    if (written == 0) {
        // What did not fit leaves no part of a double-byte character behind.
        ZeroMemory(buffer, size);
        WideCharToMultiByte(CP_ACP, 0, value, copied, buffer, room, nullptr, nullptr);
        written = room;
    }
    buffer[written] = '\0';
    return DWORD(written);
}

}  // namespace

bool HoldScript(ScriptSnapshot* snapshot, const char* path)
{
    // The same bytes name the same file; every read passes through here.
    if (strcmp(snapshot->path, path) == 0)
        return snapshot->held;
    ForgetScript(snapshot);
    lstrcpynA(snapshot->path, path, MAX_PATH);
    char folder[MAX_PATH];
    lstrcpynA(folder, path, MAX_PATH);
    snapshot->held = FindLastSeparator(folder) != nullptr && LoadScript(snapshot, path);
    return snapshot->held;
}

bool ReadHeldText(const ScriptSnapshot& snapshot, const char* section, const char* key, char* buffer, DWORD size,
                  DWORD* length)
{
    WCHAR sectionName[MAX_PATH];
    WCHAR keyName[MAX_PATH];
    int sectionStart, sectionEnd, keyStart, keyEnd;
    if (!WideName(section, sectionName, &sectionStart, &sectionEnd) || !WideName(key, keyName, &keyStart, &keyEnd))
        return false;
    *length = 0;
    if (size == 0)
        return true;
    const WCHAR* value = FindValue(snapshot, sectionName + sectionStart, sectionEnd - sectionStart,
                                   keyName + keyStart, keyEnd - keyStart);
    if (value) {
        *length = CopyValue(value, buffer, size);
    } else {
        buffer[0] = '\0';
    }
    return true;
}
