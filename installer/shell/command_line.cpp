#include "command_line.h"

#include <windows.h>

#include "text_helpers.h"

char* CommandLineProgram(char* text)
{
    char* start = SkipWhiteSpace(text);
    char* end;
    if (*start == '"') {
        start = CharNextA(start);
        // The closing quote is searched from the second character on.
        end = *start ? FindChar(CharNextA(start), '"') : nullptr;
    } else {
        end = FindChar(start, ' ');
    }
    if (end)
        *end = '\0';
    MoveMemory(text, start, lstrlenA(start) + 1);
    return text;
}
