#include "windows_version.h"

#include <strsafe.h>

namespace {

class SystemQuestions : public VersionQuestions {
public:
    constexpr SystemQuestions() = default;

    bool IsAtLeast(DWORD major, DWORD minor, WORD servicePackMajor) const override
    {
        OSVERSIONINFOEXW wanted = {};
        wanted.dwOSVersionInfoSize = sizeof(wanted);
        wanted.dwMajorVersion = major;
        wanted.dwMinorVersion = minor;
        wanted.wServicePackMajor = servicePackMajor;
        DWORDLONG conditions = 0;
        conditions = VerSetConditionMask(conditions, VER_MAJORVERSION, VER_GREATER_EQUAL);
        conditions = VerSetConditionMask(conditions, VER_MINORVERSION, VER_GREATER_EQUAL);
        conditions = VerSetConditionMask(conditions, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
        return VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR,
                                  conditions) != FALSE;
    }

    bool IsWorkstation() const override
    {
        OSVERSIONINFOEXW wanted = {};
        wanted.dwOSVersionInfoSize = sizeof(wanted);
        wanted.wProductType = VER_NT_WORKSTATION;
        const DWORDLONG conditions = VerSetConditionMask(0, VER_PRODUCT_TYPE, VER_EQUAL);
        return VerifyVersionInfoW(&wanted, VER_PRODUCT_TYPE, conditions) != FALSE;
    }

    bool IsWow64() const override
    {
        BOOL wow64 = FALSE;
        return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
    }
};

const SystemQuestions systemQuestions;

struct VersionStep {
    DWORD major;
    DWORD minor;
    WORD servicePackMajor;
};

// The level is the number of steps that Windows passes.
const VersionStep versionSteps[] = {
    {5, 1, 0}, {6, 0, 0}, {6, 1, 0}, {6, 1, 1}, {6, 2, 0}, {6, 3, 0}, {10, 0, 0},
};

struct OsKeyRecord {
    OsLevel level;
    const wchar_t* native;
    const wchar_t* workstation64;
    const wchar_t* server64;
};

const OsKeyRecord osKeyTable[] = {
    {4, L"Win7", L"Win764", L"2008R2"},
    {6, L"Win81", L"Win8164", L"2012R2"},
    {7, L"Win10", L"Win1064", L"2016"},
};

}  // namespace

const VersionQuestions& SystemVersionQuestions()
{
    return systemQuestions;
}

OsLevel IdentifyWindows(const VersionQuestions& questions)
{
    OsLevel level = 0;
    for (const VersionStep& step : versionSteps) {
        if (!questions.IsAtLeast(step.major, step.minor, step.servicePackMajor))
            break;
        ++level;
    }
    return level;
}

void SelectOsKey(OsKey& key, const VersionQuestions& questions)
{
    key.text[0] = L'\0';
    const OsLevel level = IdentifyWindows(questions);
    for (const OsKeyRecord& record : osKeyTable) {
        if (record.level != level)
            continue;
        const wchar_t* chosen = record.native;
        if (questions.IsWow64())
            chosen = questions.IsWorkstation() ? record.workstation64 : record.server64;
        StringCchCopyW(key.text, ARRAYSIZE(key.text), chosen);
        return;
    }
}
