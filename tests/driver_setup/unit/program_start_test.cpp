// The built program starts under its manifest and reports a run that cannot
// go on: Setup finds no TQSetup.ini beside itself in the build folder, Setup64
// gets no arguments.
#include <gtest/gtest.h>

#include <string>

#include "process_tree.h"

namespace {

TEST(DriverSetupProgram, StartsAndReportsItsFailure)
{
    const std::wstring program = std::wstring(BUILD_DIR) + L"\\driver_setup\\" + DRIVER_SETUP_PROGRAM;
    const testing_support::AnsweredRun run =
        testing_support::RunAnsweringBoxes(L"\"" + program + L"\"", 60000);
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.ended);
#ifdef _WIN64
    const int code = -6;
    const wchar_t* text = L"Failed to install the device driver. (-0x06)";
#else
    const int code = -4;
    const wchar_t* text = L"Failed to install the device driver. (-0x04)";
#endif
    EXPECT_EQ(static_cast<DWORD>(code), run.exitCode);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(L"Device Driver Installer", run.boxes[0].caption);
    EXPECT_EQ(text, run.boxes[0].text);
}

}  // namespace
