#include "findings.h"
#include "script_checks.h"

namespace {

// The length of a UTF-8 sequence starting at bytes, 0 when it is not one.
DWORD Utf8SequenceLength(const unsigned char* bytes, DWORD left)
{
    const unsigned char lead = bytes[0];
    DWORD length = lead >= 0xf0 && lead <= 0xf4 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc2 && lead < 0xe0 ? 2 : 0;
    if (length == 0 || length > left)
        return 0;
    for (DWORD i = 1; i < length; ++i) {
        if ((bytes[i] & 0xc0) != 0x80)
            return 0;
    }
    return length;
}

// The offset of the first non-ASCII byte when all of them form UTF-8
// sequences; MAXDWORD when there is none or the text is no UTF-8.
DWORD FirstUtf8Offset(const unsigned char* bytes, DWORD size)
{
    DWORD first = MAXDWORD;
    for (DWORD i = 0; i < size;) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        const DWORD length = Utf8SequenceLength(bytes + i, size - i);
        if (length == 0)
            return MAXDWORD;
        if (first == MAXDWORD)
            first = i;
        i += length;
    }
    return first;
}

void CheckLinesInCodePage(const ScriptFile& script)
{
    const unsigned char* bytes = script.lines.Bytes();
    const DWORD size = script.lines.Size();
    int number = 1;
    for (DWORD start = 0; start < size; ++number) {
        DWORD end = start;
        bool wide = false;
        while (end < size && bytes[end] != '\n')
            wide |= bytes[end++] >= 0x80;
        if (wide && MultiByteToWideChar(script.codePage, MB_ERR_INVALID_CHARS,
                                        reinterpret_cast<const char*>(bytes + start), end - start, nullptr,
                                        0) == 0)
            ReportFinding(script.name, number, SeverityError,
                          L"this line is not valid code page %u text: install reads other characters", script.codePage);
        start = end + 1;
    }
}

// The language script read on other user interfaces decodes its bytes in
// their code page: only ASCII reads the same everywhere.
void CheckPlainAscii(const ScriptFile& script)
{
    const unsigned char* bytes = script.lines.Bytes();
    for (DWORD i = 0; i < script.lines.Size(); ++i) {
        if (bytes[i] < 0x80)
            continue;
        ReportFinding(script.name, script.lines.LineAt(i), SeverityWarning,
                      L"this line is not plain ASCII: %s is read on other user interfaces too (%s), in their "
                      L"code page, where these bytes are other characters",
                      script.name,
                      lstrcmpiW(script.name, L"install.INF") == 0 ? L"on every one"
                                                                    : L"on every one without a script of its own");
        return;
    }
}

}  // namespace

void CheckScriptText(const ScriptFile& script)
{
    const unsigned char* bytes = script.lines.Bytes();
    const DWORD size = script.lines.Size();
    if (size >= 3 && bytes[0] == 0xef && bytes[1] == 0xbb && bytes[2] == 0xbf) {
        ReportFinding(script.name, 1, SeverityError,
                      L"the file begins with a UTF-8 byte-order mark: install reads it as code page %u text, "
                      L"so save it in code page %u without the mark",
                      script.codePage, script.codePage);
        return;
    }
    const DWORD utf8 = FirstUtf8Offset(bytes, size);
    if (utf8 != MAXDWORD && script.codePage != CP_UTF8) {
        ReportFinding(script.name, script.lines.LineAt(utf8), SeverityError,
                      L"the file is saved as UTF-8: install reads it as code page %u text, so save it in code page %u",
                      script.codePage, script.codePage);
        return;
    }
    CheckLinesInCodePage(script);
    if (script.readByOtherLanguages)
        CheckPlainAscii(script);
}
