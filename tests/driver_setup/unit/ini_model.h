// A TQSetup.ini taken apart into sections and lines, so that the campaign can
// delete, repeat, reorder and rewrite them and write the file out again.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace driver_setup_campaign {

struct IniSection {
    std::wstring name;
    // As written: "key=value", a bare file name, a comment or junk.
    std::vector<std::wstring> lines;
};

class IniModel {
public:
    // Sections and their lines; text before the first section and blank lines go.
    static IniModel Parse(const std::wstring& text);
    // Lines separated by "\r\n".
    std::wstring Render() const;

    IniSection* Find(const std::wstring& name);
    const IniSection* Find(const std::wstring& name) const;
    // The value of key in section; false when either is missing.
    bool Get(const std::wstring& section, const std::wstring& key, std::wstring* value) const;
    // Sets key (the first line of that key) in section, adding either when missing.
    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value);

    // The sections that some "Name<n>" value names as its file list.
    std::vector<std::wstring> FileListSections() const;

    std::vector<IniSection> sections;
};

// The key of a "key=value" line ("" for a line without "=").
std::wstring KeyOf(const std::wstring& line);

// How a generated file is stored: private-profile files are read as ANSI
// unless they start with a byte-order mark.
enum IniEncoding {
    EncodingAnsi,
    EncodingUtf8,
    EncodingUtf16,
};

std::string EncodeIni(const std::wstring& text, IniEncoding encoding);

}  // namespace driver_setup_campaign
