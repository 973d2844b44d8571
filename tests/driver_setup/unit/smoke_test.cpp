#include <gtest/gtest.h>
#include "window_driver.h"
TEST(Smoke, StartsNotepadlessProgram) {
  testing_support::RunningProgram p;
  ASSERT_TRUE(p.Start(L"cmd.exe /c exit 3"));
  DWORD code = 0;
  ASSERT_TRUE(p.WaitForExit(20000, &code));
  EXPECT_EQ(3u, code);
}
