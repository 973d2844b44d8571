// A crash must end its program at once with the exception code, so that the
// test that started it fails at once and says why, instead of waiting in a
// debugger until its time limit.
#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>

#include "window_driver.h"

using namespace testing_support;

namespace {

struct Crash {
    const char* name;
    const wchar_t* argument;
    DWORD code;
};

void PrintTo(const Crash& crash, std::ostream* out)
{
    *out << crash.name;
}

class CrashingProgram : public ::testing::TestWithParam<Crash> {};

TEST_P(CrashingProgram, EndsAtOnceWithItsExceptionCodeAndNoWindowIsWaitedFor)
{
    RunningProgram probe;
    ASSERT_TRUE(probe.Start(std::wstring(L"\"") + CRASH_PROBE + L"\" " + GetParam().argument));
    const DWORD start = GetTickCount();
    // Far longer than a crash takes: the wait ends with the program.
    EXPECT_EQ(nullptr, WaitForWindow(probe.Id(), nullptr, 60000));
    EXPECT_LT(GetTickCount() - start, 20000u) << "the crash waited";
    DWORD code = 0;
    ASSERT_TRUE(probe.WaitForExit(5000, &code)) << "still running";
    EXPECT_EQ(GetParam().code, code);
    EXPECT_TRUE(IsExceptionCode(code));
}

INSTANTIATE_TEST_SUITE_P(Exceptions, CrashingProgram,
                         ::testing::Values(Crash{"AccessViolation", L"", 0xC0000005u},
                                           Crash{"RaisedDivideByZero", L"C0000094", 0xC0000094u}),
                         [](const ::testing::TestParamInfo<Crash>& info) { return std::string(info.param.name); });

}  // namespace
