#include "folder_entries.h"

#include "globals.h"
#include "messages.h"

bool IsChangedListedName(const char* name)
{
    if (IsDotEntry(name))
        return true;
    for (const char* p = name; *p; p = CharNextA(p)) {
        // A trail byte of a double-byte character is part of that character.
        if (CharNextA(p) != p + 1)
            continue;
        switch (*p) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '<':
        case '>':
        case '"':
            return true;
        default:
            break;
        }
    }
    return false;
}

void SkippedNameReport::Report(const char* folder)
{
    if (reported_)
        return;
    reported_ = true;
    char text[kCatalogueTextSize];
    FormatTextInto(text, IDS_NAMES_SKIPPED, folder);
    MessageBoxA(owner_, text, nullptr, MB_ICONERROR);
}
