// Which Windows runs, as a level and as the key that TQSetup.ini looks up.
#pragma once
#include <windows.h>

// 0 before XP, 1 XP/2003, 2 Vista/2008, 3 7/2008 R2 without service pack,
// 4 7/2008 R2 SP1, 5 8/2012, 6 8.1/2012 R2, 7 10.0 and later.
typedef int OsLevel;

// "Win7", "Win1064", "2016", ... or empty when the Windows is not supported.
struct OsKey {
    wchar_t text[10];
};

// The questions put to Windows. Tests answer them for versions that the test
// machine cannot pretend to be.
class VersionQuestions {
public:
    // Is Windows at least major.minor with the given service pack?
    virtual bool IsAtLeast(DWORD major, DWORD minor, WORD servicePackMajor) const = 0;
    virtual bool IsWorkstation() const = 0;
    // Does this process run under WOW64 (a failed query counts as no)?
    virtual bool IsWow64() const = 0;

protected:
    ~VersionQuestions() = default;
};

// The real answers: VerifyVersionInfoW and IsWow64Process.
const VersionQuestions& SystemVersionQuestions();

OsLevel IdentifyWindows(const VersionQuestions& questions = SystemVersionQuestions());
void SelectOsKey(OsKey& key, const VersionQuestions& questions = SystemVersionQuestions());
