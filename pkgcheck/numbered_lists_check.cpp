#include "findings.h"
#include "script_checks.h"

namespace {

struct NumberedList {
    const wchar_t* section;
    const wchar_t* stem;  // text before the number
    unsigned first;       // the number the list starts at
};

const NumberedList kLists[] = {
    {L"Install", L"", 1},
    {L"Install", L"RegFiles", 0},
    {L"Group", L"", 1},
    {L"Reg", L"", 1},
};

const DWORD kKeyNamesChars = 32768;

// The digits after stem in name (ASCII case ignored for the stem), or null
// when name is not stem followed by digits only.
const wchar_t* NumberPart(const wchar_t* name, const wchar_t* stem)
{
    const int stemLength = lstrlenW(stem);
    if (stemLength && CompareStringOrdinal(name, stemLength, stem, stemLength, TRUE) != CSTR_EQUAL)
        return nullptr;
    const wchar_t* digits = name + stemLength;
    if (!*digits)
        return nullptr;
    for (const wchar_t* c = digits; *c; ++c) {
        if (*c < L'0' || *c > L'9')
            return nullptr;
    }
    return digits;
}

unsigned ParseNumber(const wchar_t* digits)
{
    unsigned number = 0;
    for (; *digits && number < 100000000; ++digits)
        number = number * 10 + (*digits - L'0');
    return number;
}

void CheckList(const ScriptFile& script, const NumberedList& list, wchar_t* names)
{
    const unsigned gap = list.first + CountListEntries(script, list.section, list.stem, list.first);
    script.ReadKeyNames(list.section, names, kKeyNamesChars);
    for (const wchar_t* name = names; *name; name += lstrlenW(name) + 1) {
        const wchar_t* digits = NumberPart(name, list.stem);
        char value[kValueBytes];
        if (!digits || script.Read(list.section, name, value) == 0)
            continue;
        const int line = script.KeyLine(list.section, name);
        if (digits[0] == L'0' && digits[1]) {
            ReportFinding(script.name, line, SeverityError,
                          L"[%s] key %s is never read: numbered keys are written without leading zeros", list.section,
                          name);
        } else if (ParseNumber(digits) > gap) {
            ReportFinding(script.name, line, SeverityError,
                          L"[%s] entry %s follows a gap at %s%u and is never read", list.section, name, list.stem,
                          gap);
        }
    }
}

}  // namespace

unsigned CountListEntries(const ScriptFile& script, const wchar_t* section, const wchar_t* stem, unsigned first)
{
    unsigned count = 0;
    for (;; ++count) {
        wchar_t key[32];
        FormatNumberKey(key, stem, first + count);
        char value[kValueBytes];
        if (script.Read(section, key, value) == 0)
            return count;
    }
}

void CheckNumberedLists(const ScriptFile& script)
{
    wchar_t* names = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, kKeyNamesChars * sizeof(wchar_t)));
    if (!names)
        return;
    for (const NumberedList& list : kLists)
        CheckList(script, list, names);
    HeapFree(GetProcessHeap(), 0, names);
}
