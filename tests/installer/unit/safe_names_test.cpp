// Names built from the install script's text: the hand-over marker's file
// name in the system directory, and (in Shift-JIS) [Reg] key paths.
#include <gtest/gtest.h>

#include <string>

#include "code_page_fixture.h"
#include "globals.h"
#include "registry_package_keys.h"
#include "uninstall_marker.h"

namespace {

// The marker's file name for an install key.
std::string MarkerNameFor(const char* installKey)
{
    lstrcpynA(g_installKey, installKey, kPathSize);
    char path[kPathSize] = "";
    EXPECT_TRUE(FormatMarkerPath(path)) << installKey;
    char systemDir[kPathSize] = "";
    GetSystemDirectoryA(systemDir, kPathSize);
    std::string text = path;
    EXPECT_EQ(0u, text.find(std::string(systemDir) + "\\")) << text;
    return text.substr(lstrlenA(systemDir) + 1);
}

// The key path of a [Reg] entry below HKEY_CURRENT_USER as the uninstall
// reads it; "" when it would not delete it.
std::string NormalizedKey(const char* keyPath)
{
    HKEY root;
    char key[kPathSize] = "";
    const std::string entry = std::string("HKEY_CURRENT_USER\\") + keyPath;
    return ClassifyRegEntry(entry.c_str(), CP_ACP, &root, key) == RegEntryDeletable ? key : "";
}

TEST(MarkerName, OnlySafeCharactersReachTheFileName)
{
    const struct {
        const char* key;
        const char* name;
    } cases[] = {
        {"CardTool", "CardTool.tmp"},
        {"Card:Stream", "Card_Stream.tmp"},         // an alternate stream
        {"Tool*?<>|\"", "Tool______.tmp"},          // wildcards and the like
        {"Tab\tBell\a", "Tab_Bell_.tmp"},           // control characters
        {"Tool. .", "Tool___.tmp"},                 // dots and blanks the system drops
        {"a.b c", "a.b c.tmp"},
        {"nul", "_nul.tmp"},                        // devices, in any case and with an extension
        {"LPT1.x", "_LPT1.x.tmp"},
        {"CON .log", "_CON .log.tmp"},
        {"COM10", "COM10.tmp"},
        {"CONSOLE", "CONSOLE.tmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.name, MarkerNameFor(c.key)) << c.key;
}

using ShiftJis = JapaneseCodePageTest;

// "表" and "ソ" end in the byte of a backslash, "ポ" (0x837C) in that of "|":
// they are characters of their own, not separators or wildcards.
TEST_F(ShiftJis, TrailBytesAreNoUnsafeCharactersOrSeparators)
{
    EXPECT_EQ("\x95\x5C_\x83\x5C_\x83\x7C.tmp", MarkerNameFor("\x95\x5C:\x83\x5C|\x83\x7C"));
    EXPECT_EQ("Software\\\x83\x5C\\Tool", NormalizedKey("Software\\\x83\x5C\\\\Tool\\"));
    EXPECT_EQ("Software\\\x95\x5C", NormalizedKey("Software\\\x95\x5C"));
}

}  // namespace
