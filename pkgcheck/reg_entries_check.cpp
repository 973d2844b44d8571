#include <strsafe.h>

#include "findings.h"
#include "script_checks.h"
#include "shared_keys.h"

namespace {

const wchar_t kReg[] = L"Reg";

struct RootName {
    const wchar_t* name;
    RegistryRootName root;
};

// Compared case-sensitively, in this order, as the uninstall compares them.
const RootName kRoots[] = {
    {L"HKEY_CURRENT_USER", RootCurrentUser},
    {L"HKEY_LOCAL_MACHINE", RootLocalMachine},
    {L"HKEY_CLASSES_ROOT", RootClassesRoot},
};

// The key path as the registry reads it: backslash-separated, without
// doubled or trailing separators.
void NormaliseKeyPath(wchar_t* path)
{
    wchar_t* out = path;
    for (const wchar_t* in = path; *in; ++in) {
        if (*in == L'\\' && (out == path || out[-1] == L'\\'))
            continue;
        *out++ = *in;
    }
    if (out > path && out[-1] == L'\\')
        --out;
    *out = L'\0';
}

void CheckEntry(const ScriptFile& script, unsigned number)
{
    wchar_t key[32];
    FormatNumberKey(key, L"", number);
    wchar_t entry[kValueBytes];
    script.ReadText(kReg, key, entry);
    const int line = script.KeyLine(kReg, key);
    for (const RootName& root : kRoots) {
        const int length = lstrlenW(root.name);
        if (!HasPrefix(entry, root.name, false))
            continue;
        wchar_t path[kValueBytes];
        StringCchCopyW(path, kValueBytes, entry[length] ? entry + length + 1 : L"");
        if (!path[0] || path[0] == L'\\') {
            ReportFinding(script.name, line, SeverityError,
                          L"[Reg] entry %u names no key below %s: the uninstall refuses it with message 27 "
                          L"(\"Found abnormal Reg section.\")",
                          number, root.name);
            return;
        }
        NormaliseKeyPath(path);
        if (IsSharedKey(root.root, path))
            ReportFinding(script.name, line, SeverityError,
                          L"[Reg] entry %u names the shared key %s\\%s, which the uninstall must not delete: it "
                          L"refuses it with message 27",
                          number, root.name, path);
        else if (entry[length] != L'\\')
            ReportFinding(script.name, line, SeverityWarning,
                          L"[Reg] entry %u: the uninstall skips the character after %s, whatever it is, and deletes "
                          L"%s",
                          number, root.name, path);
        return;
    }
    ReportFinding(script.name, line, SeverityError,
                  L"[Reg] entry %u does not begin with HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT "
                  L"(in capitals): the uninstall shows message 27 (\"Found abnormal Reg section.\") and skips it",
                  number);
}

}  // namespace

void CheckRegEntries(const ScriptFile& script)
{
    const unsigned count = CountListEntries(script, kReg, L"", 1);
    for (unsigned number = 1; number <= count; ++number)
        CheckEntry(script, number);
}
