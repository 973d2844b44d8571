#include <gtest/gtest.h>

#include <process.h>
#include <set>
#include <string>

#include "setup_codes.h"
#include "setup_errors.h"
#include "window_driver.h"

namespace {

std::wstring Text(int code, DWORD detail)
{
    wchar_t text[MAX_PATH] = {};
    FormatSetupError(code, detail, text);
    return text;
}

const std::wstring kGeneral = L"Failed to install the device driver. ";

TEST(FormatSetupError, PlainTextsIgnoreTheDetail)
{
    EXPECT_EQ(L"This tool is already running.", Text(-2, 0));
    EXPECT_EQ(L"This tool is already running.", Text(-2, 7));
    EXPECT_EQ(L"Your Windows is not supported.", Text(-1, 3));
}

TEST(FormatSetupError, GeneralTextShowsTheNegatedCode)
{
    EXPECT_EQ(kGeneral + L"(-0x04)", Text(-4, 0));
    EXPECT_EQ(kGeneral + L"(-0x11)", Text(-17, 0));
    EXPECT_EQ(kGeneral + L"(-0x36)", Text(-54, 0));
    EXPECT_EQ(kGeneral + L"(-0x15)", Text(-21, 0));
}

TEST(FormatSetupError, DetailGoesOnASecondLine)
{
    EXPECT_EQ(kGeneral + L"(-0x21)\r\n(Detailed: 0x00000002)", Text(-33, 2));
    EXPECT_EQ(kGeneral + L"(-0x24)\r\n(Detailed: 0x00000005)", Text(-36, 5));
    EXPECT_EQ(kGeneral + L"(-0x22)\r\n(Detailed: 0x20000000)", Text(-34, 0x20000000));
}

TEST(FormatSetupError, UnknownCodesGetTheGeneralTextWithoutDetail)
{
    EXPECT_EQ(kGeneral + L"(-0xffffff01)", Text(SetupNotReady, 5));
    EXPECT_EQ(kGeneral + L"(-0x07)", Text(-7, 5));
}

TEST(SetupErrorTable, HoldsEachCodeOnce)
{
    std::set<int> codes;
    int plain = 0;
    for (const SetupError& error : SetupErrorTable) {
        EXPECT_TRUE(codes.insert(error.code).second) << error.code;
        if (!error.formatted)
            ++plain;
    }
    EXPECT_EQ(22u, codes.size());
    EXPECT_EQ(2, plain);
    for (int code : {-1, -2, -3, -4, -5, -6, -17, -18, -19, -20, -21, -22, -23, -24, -25, -26, -27, -33,
                     -34, -35, -36, -54})
        EXPECT_EQ(1u, codes.count(code)) << code;
}

struct SeenBox {
    bool found = false;
    std::wstring caption;
    std::wstring text;
};

unsigned __stdcall AnswerOwnBox(void* context)
{
    SeenBox* seen = static_cast<SeenBox*>(context);
    HWND box = testing_support::WaitForDialog(GetCurrentProcessId(), 10000);
    if (box) {
        seen->found = true;
        seen->caption = testing_support::WindowText(box);
        seen->text = testing_support::MessageBoxText(box);
        testing_support::ClickButton(box, IDOK);
    }
    return 0;
}

TEST(ShowSetupError, ShowsTheTextInAMessageBox)
{
    SeenBox seen;
    HANDLE answering = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, AnswerOwnBox, &seen, 0, nullptr));
    ASSERT_TRUE(answering);
    ShowSetupError(-36, 5);
    WaitForSingleObject(answering, INFINITE);
    CloseHandle(answering);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(L"Device Driver Installer", seen.caption);
    EXPECT_EQ(kGeneral + L"(-0x24)\r\n(Detailed: 0x00000005)", seen.text);
}

}  // namespace
