// Reads an extended dialog template (DLGTEMPLATEEX) as the resource compiler
// stored it, so that tests can compare every field with what install needs.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A name-or-ordinal field: a string, an ordinal, or neither (empty).
struct NameOrOrdinal {
    std::wstring name;
    WORD ordinal = 0;  // non-zero when the field is an ordinal
};

struct DialogControl {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::wstring className;  // predefined classes by name ("button", "static", ...)
    NameOrOrdinal text;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::wstring caption;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring typeface;
    std::vector<DialogControl> controls;
};

// Parses size bytes at data. False (and *error says why) when the bytes are
// not a complete extended template.
bool ParseDialogTemplate(const void* data, DWORD size, DialogTemplate* result, std::string* error);
