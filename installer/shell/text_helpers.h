// Character-level helpers for ANSI text in the system code page: every scan
// steps with CharNextA, so the trail byte of a double-byte character is never
// taken for an ASCII character.
#pragma once
#include <windows.h>

// Space and the control characters 9 to 13.
bool IsWhiteSpace(char c);

// First occurrence of the single-byte character c, or null.
char* FindChar(char* text, char c);

// Every occurrence of the single-byte character from becomes to.
void ReplaceChar(char* text, char from, char to);

// White space removed at both ends, the rest moved to the start; returns text.
char* TrimSpaces(char* text);

// First character of text that is not white space.
char* SkipWhiteSpace(char* text);
