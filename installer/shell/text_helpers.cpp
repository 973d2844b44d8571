#include "text_helpers.h"

bool IsWhiteSpace(char c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}

char* FindChar(char* text, char c)
{
    for (char* p = text; *p; p = CharNextA(p)) {
        if (*p == c)
            return p;
    }
    return nullptr;
}

void ReplaceChar(char* text, char from, char to)
{
    if (from == to)
        return;
    for (char* p = FindChar(text, from); p; p = FindChar(p, from))
        *p = to;
}

char* SkipWhiteSpace(char* text)
{
    char* p = text;
    while (IsWhiteSpace(*p))
        p = CharNextA(p);
    return p;
}

char* TrimSpaces(char* text)
{
    char* start = SkipWhiteSpace(text);
    char* end = start;
    for (char* p = start; *p; p = CharNextA(p)) {
        if (!IsWhiteSpace(*p))
            end = CharNextA(p);
    }
    *end = '\0';
    if (start != text)
        MoveMemory(text, start, end - start + 1);
    return text;
}
