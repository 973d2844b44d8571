// Line numbers from a plain read of an INI file: where a section, a key of a
// section or the n-th entry line of a section stands. Names are compared
// without regard to the case of ASCII letters, as the private-profile
// functions compare them.
#pragma once
#include <windows.h>

class FileLines {
public:
    FileLines() = default;
    FileLines(const FileLines&) = delete;
    FileLines& operator=(const FileLines&) = delete;
    ~FileLines();

    // False when the file cannot be read (or is over 4 MB).
    bool Load(const wchar_t* path);

    const unsigned char* Bytes() const { return bytes_; }
    DWORD Size() const { return size_; }

    // 0 when the section is missing.
    int SectionLine(const wchar_t* section) const;
    // The key's first line in the section; the section's line when the key is
    // missing; 0 when the section is too.
    int KeyLine(const wchar_t* section, const wchar_t* key) const;
    // The line of the index-th (from 0) line that is neither blank nor a
    // comment in the section; the section's line when there are fewer.
    int EntryLine(const wchar_t* section, int index) const;
    // The line that holds byte offset.
    int LineAt(DWORD offset) const;

private:
    // Calls visit(line number, start, end) for each line until it returns false.
    template <typename Visit>
    void ForEachLine(Visit visit) const;
    // Calls found(start, end) for the entry lines of section until it returns
    // true: that line's number, else the section's line, 0 without section.
    template <typename Visit>
    int ForEachLineIn(const wchar_t* section, Visit found) const;

    unsigned char* bytes_ = nullptr;
    DWORD size_ = 0;
};
