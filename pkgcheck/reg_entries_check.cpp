#include <strsafe.h>

#include "findings.h"
#include "registry_package_keys.h"
#include "script_checks.h"

namespace {

const wchar_t kReg[] = L"Reg";

// The root's name as the entry starts with it.
const wchar_t* RootName(HKEY root)
{
    if (root == HKEY_CURRENT_USER)
        return L"HKEY_CURRENT_USER";
    return root == HKEY_LOCAL_MACHINE ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CLASSES_ROOT";
}

// The uninstall's own rule decides, on the bytes it reads.
void CheckEntry(const ScriptFile& script, unsigned number)
{
    wchar_t key[32];
    FormatNumberKey(key, L"", number);
    char entry[kValueBytes];
    script.Read(kReg, key, entry);
    const int line = script.KeyLine(kReg, key);
    HKEY root = nullptr;
    char keyPath[MAX_PATH] = "";
    wchar_t path[MAX_PATH];
    switch (ClassifyRegEntry(entry, CP_ACP, &root, keyPath)) {
    case RegEntryDeletable:
        return;
    case RegEntryUnknownRoot:
        ReportFinding(script.name, line, SeverityError,
                      L"[Reg] entry %u does not begin with HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or "
                      L"HKEY_CLASSES_ROOT (in capitals) and a separator: the uninstall shows message 27 (\"Found "
                      L"abnormal Reg section.\") and skips it",
                      number);
        return;
    case RegEntryNoKeyPath:
        ReportFinding(script.name, line, SeverityError,
                      L"[Reg] entry %u names no key below %s: the uninstall refuses it with message 27 (\"Found "
                      L"abnormal Reg section.\")",
                      number, RootName(root));
        return;
    case RegEntryNotPackageKey:
        script.Decode(keyPath, path, MAX_PATH);
        ReportFinding(script.name, line, SeverityError,
                      L"[Reg] entry %u names %s\\%s, which is no key of the package's own (below "
                      L"Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the "
                      L"uninstall refuses it with message 27",
                      number, RootName(root), path);
        return;
    }
}

}  // namespace

void CheckRegEntries(const ScriptFile& script)
{
    const unsigned count = CountListEntries(script, kReg, L"", 1);
    for (unsigned number = 1; number <= count; ++number)
        CheckEntry(script, number);
}
