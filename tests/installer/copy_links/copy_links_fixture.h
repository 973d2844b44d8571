// Shared set-up of the copy and link tests: install's globals in a known
// state, this program's catalogue as install's, and ANSI forms of test paths.
#pragma once
#include <windows.h>
#include <string>

#include <gtest/gtest.h>

namespace copy_links_testing {

// Resets the globals these operations read and points g_hInstance at this
// program, whose resources hold install's catalogue.
class InstallGlobals : public ::testing::Test {
protected:
    void SetUp() override;
};

// A drive letter ("Q:") that no volume uses.
std::string MissingDrive();

// The caption Wine gives a message box shown without one.
extern const wchar_t kDefaultCaption[];

}  // namespace copy_links_testing
