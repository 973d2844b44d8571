// Tests that need the double-byte code page 932 run only in the test
// registrations that set INSTALLER_TEST_CODE_PAGE=932 together with
// LC_ALL=ja_JP.UTF-8, and fail there when the locale did not take.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>

// For a fixture's SetUp: skips the test unless code page 932 was asked for.
#define REQUIRE_JAPANESE_CODE_PAGE()                                                   \
    do {                                                                               \
        char wanted[8] = "";                                                           \
        if (!GetEnvironmentVariableA("INSTALLER_TEST_CODE_PAGE", wanted, sizeof(wanted))) \
            GTEST_SKIP() << "needs code page 932 (LC_ALL=ja_JP.UTF-8)";                \
        ASSERT_STREQ("932", wanted);                                                   \
        ASSERT_EQ(932u, GetACP());                                                     \
        ASSERT_EQ(0x411, GetUserDefaultUILanguage());                                  \
    } while (0)

class JapaneseCodePageTest : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_JAPANESE_CODE_PAGE(); }
};
