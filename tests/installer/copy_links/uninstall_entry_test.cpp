// The uninstall registration entry, read back from the registry view that
// install.exe (32-bit, like this test) writes to.
#include <gtest/gtest.h>

#include "copy_links_fixture.h"
#include "globals.h"
#include "registry_fixture.h"
#include "uninstall_entry.h"

using copy_links_testing::InstallGlobals;
using installer_testing::ScopedUninstallEntry;

namespace {

const char kEntryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\CopyLinksTool";

struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::string data;  // as stored, terminator included
};

StoredValue ReadStored(const char* keyPath, const char* name)
{
    StoredValue value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    char data[1024];
    DWORD size = sizeof data;
    value.present = RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) ==
                    ERROR_SUCCESS;
    if (value.present)
        value.data.assign(data, size);
    RegCloseKey(key);
    return value;
}

class UninstallEntry : public InstallGlobals {
protected:
    void SetUp() override
    {
        InstallGlobals::SetUp();
        lstrcpynA(g_installKey, "CopyLinksTool", kPathSize);
        lstrcpynA(g_menuDir, "C:\\Menu\\Programs\\Tool Suite", kPathSize);
    }

    void ExpectString(const char* name, const std::string& expected)
    {
        StoredValue value = ReadStored(kEntryKey, name);
        ASSERT_TRUE(value.present) << name;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type) << name;
        EXPECT_EQ(expected + '\0', value.data) << name;
    }

    ScopedUninstallEntry entry_{L"CopyLinksTool"};
};

TEST_F(UninstallEntry, WritesTitleMenuFolderAndQuotedCommand)
{
    WriteUninstallEntry("C:\\Program Files\\Tool\\install.exe");
    ExpectString("DisplayName", "Tool Suite");
    ExpectString("MenuDir", "C:\\Menu\\Programs\\Tool Suite");
    ExpectString("UninstallString", "\"C:\\Program Files\\Tool\\install.exe\" /r");
}

TEST_F(UninstallEntry, ExistingKeyIsReusedAndKeepsOtherValues)
{
    ASSERT_TRUE(entry_.Set(L"DisplayName", L"Old Title"));
    ASSERT_TRUE(entry_.Set(L"Publisher", L"Vendor"));
    WriteUninstallEntry("D:\\Tool\\install.exe");
    ExpectString("DisplayName", "Tool Suite");
    ExpectString("UninstallString", "\"D:\\Tool\\install.exe\" /r");
    ExpectString("Publisher", "Vendor");
}

// A command made from a full-length path still fits; a key name that would
// not fit below the Uninstall key is not written cut short.
TEST_F(UninstallEntry, LongPathsAreBounded)
{
    std::string longPath = "C:\\" + std::string(250, 'p') + "\\i.exe";
    ASSERT_EQ(static_cast<size_t>(kPathSize - 1), longPath.size());
    WriteUninstallEntry(longPath.c_str());
    ExpectString("UninstallString", "\"" + longPath + "\" /r");

    std::string longKey(kPathSize - 40, 'k');
    lstrcpynA(g_installKey, longKey.c_str(), kPathSize);
    WriteUninstallEntry("C:\\Tool\\install.exe");
    std::string cut = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + longKey;
    cut.resize(kPathSize - 1);
    EXPECT_FALSE(ReadStored(cut.c_str(), "DisplayName").present);
}

}  // namespace
