// DeleteRegistryTree and the [Reg] entries of the install script against the
// test prefix's registry. Every key lives below one test key per root, which
// the fixture removes again.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "box_answerer.h"
#include "globals.h"
#include "registry_removal.h"
#include "registry_values.h"
#include "removal_fixture.h"
#include "settings_fixture.h"

using namespace installer_testing;
using testing_support::BoxAnswerer;
using testing_support::KeyExists;

namespace {

const wchar_t kTestKey[] = L"Software\\InstallRemovalTest";
const wchar_t kCanaryKey[] = L"Software\\InstallRemovalCanary";

bool CreateKey(HKEY root, const std::wstring& path)
{
    HKEY key;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    DWORD data = 1;
    LONG result = RegSetValueExW(key, L"Value", 0, REG_DWORD, reinterpret_cast<BYTE*>(&data), sizeof(data));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// Runs the [Reg] processing on a script with these lines; returns the
// message boxes it showed.
std::vector<testing_support::MessageBoxSeen> RemoveListed(const std::string& regLines)
{
    ScriptFile script("[Install]\r\nTitle=Removal Test Product\r\n[Reg]\r\n" + regLines);
    BoxAnswerer boxes;
    RemoveScriptRegistryKeys();
    return boxes.Seen();
}

class RegistryRemovalTest : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        TearDown();
        ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, kCanaryKey));
    }

    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, kTestKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestKey);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTestKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, kCanaryKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, kCanaryKey);
    }

    // Foo with values, subkeys A and A\B, and the sibling FooBar.
    void MakeFooTree(HKEY root)
    {
        const std::wstring foo = std::wstring(kTestKey) + L"\\Foo";
        ASSERT_TRUE(CreateKey(root, foo + L"\\A\\B"));
        ASSERT_TRUE(CreateKey(root, foo + L"\\A"));
        ASSERT_TRUE(CreateKey(root, foo + L"\\C"));
        ASSERT_TRUE(CreateKey(root, foo));
        ASSERT_TRUE(CreateKey(root, std::wstring(kTestKey) + L"\\FooBar"));
    }

    void ExpectFooTreeGone(HKEY root)
    {
        EXPECT_FALSE(KeyExists(root, std::wstring(kTestKey) + L"\\Foo"));
        EXPECT_TRUE(KeyExists(root, std::wstring(kTestKey) + L"\\FooBar"));
        EXPECT_TRUE(KeyExists(root, kTestKey));
    }

    void ExpectNothingDeleted()
    {
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Foo\\A\\B"));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kCanaryKey));
    }
};

TEST_F(RegistryRemovalTest, DeletesTreeDepthFirst)
{
    MakeFooTree(HKEY_CURRENT_USER);
    DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\InstallRemovalTest\\Foo");
    ExpectFooTreeGone(HKEY_CURRENT_USER);
}

// A subkey whose name has no form in the ANSI code page is enumerated as
// "?", which cannot be opened or deleted: it is stepped over once, its
// siblings still go, and it keeps its parent.
TEST_F(RegistryRemovalTest, UndeletableSubkeyKeepsItsParent)
{
    MakeFooTree(HKEY_CURRENT_USER);
    const std::wstring foo = std::wstring(kTestKey) + L"\\Foo";
    ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, foo + L"\\\u4e00"));
    ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, foo + L"\\Z"));
    DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\InstallRemovalTest\\Foo");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, foo + L"\\\u4e00"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, foo));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, foo + L"\\A"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, foo + L"\\C"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, foo + L"\\Z"));
}

TEST_F(RegistryRemovalTest, MissingKeyIsSilent)
{
    auto seen = RemoveListed("1=HKEY_CURRENT_USER\\Software\\InstallRemovalTest\\Missing\r\n");
    EXPECT_TRUE(seen.empty()) << Describe(seen);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kCanaryKey));
}

// A key path that would open the root itself deletes nothing below it.
TEST_F(RegistryRemovalTest, EmptyKeyPathDeletesNothing)
{
    MakeFooTree(HKEY_CURRENT_USER);
    HKEY testKey;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_ALL_ACCESS, &testKey));
    DeleteRegistryTree(testKey, "");
    DeleteRegistryTree(testKey, "\\");
    DeleteRegistryTree(testKey, "\\Foo");
    RegCloseKey(testKey);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Foo\\A\\B"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\FooBar"));
}

TEST_F(RegistryRemovalTest, ListedTreesAreDeletedUnderEachRoot)
{
    MakeFooTree(HKEY_CURRENT_USER);
    MakeFooTree(HKEY_LOCAL_MACHINE);
    // The one character after the root name is skipped whatever it is.
    auto seen = RemoveListed(
        "1=HKEY_CURRENT_USER\\Software\\InstallRemovalTest\\Foo\r\n"
        "2=HKEY_LOCAL_MACHINE/Software\\InstallRemovalTest\\Foo\r\n");
    EXPECT_TRUE(seen.empty()) << Describe(seen);
    ExpectFooTreeGone(HKEY_CURRENT_USER);
    ExpectFooTreeGone(HKEY_LOCAL_MACHINE);
}

TEST_F(RegistryRemovalTest, UnknownRootsAreReportedAndSkipped)
{
    MakeFooTree(HKEY_CURRENT_USER);
    CreateKey(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Last");
    auto seen = RemoveListed(
        "1=hkey_current_user\\Software\\InstallRemovalTest\\Foo\r\n"
        "2=HKEY_USERS\\.DEFAULT\\Software\\InstallRemovalTest\r\n"
        "3=HKCU\\Software\\InstallRemovalTest\\Foo\r\n"
        "4=HKEY_CURRENT_USER\\Software\\InstallRemovalTest\\Last\r\n");
    ASSERT_EQ(3u, seen.size()) << Describe(seen);
    for (const auto& box : seen) {
        EXPECT_EQ(kAbnormalRegText, box.text);
        EXPECT_EQ(kDefaultCaption, box.caption);
    }
    ExpectNothingDeleted();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\Last"));
}

// Naming only a root, with or without separators after it, must never take
// the root's whole tree: reported like any other abnormal entry.
TEST_F(RegistryRemovalTest, RootWithoutKeyPathDeletesNothing)
{
    MakeFooTree(HKEY_CURRENT_USER);
    auto seen = RemoveListed(
        "1=HKEY_CURRENT_USER\r\n"
        "2=HKEY_CURRENT_USER\\\r\n"
        "3=HKEY_CURRENT_USER\\\\\r\n"
        "4=HKEY_CURRENT_USER\\\\\\\r\n"
        "5=HKEY_CURRENT_USER\\\\Software\\InstallRemovalCanary\r\n"
        "6=HKEY_CLASSES_ROOT   \r\n");
    ASSERT_EQ(6u, seen.size()) << Describe(seen);
    for (const auto& box : seen)
        EXPECT_EQ(kAbnormalRegText, box.text);
    ExpectNothingDeleted();
}

// A bare root name must not pick up the key path that a longer entry read
// before it left in the buffer behind its end.
TEST_F(RegistryRemovalTest, RootOnlyAfterLongerEntryDeletesNothing)
{
    MakeFooTree(HKEY_CURRENT_USER);
    auto seen = RemoveListed(
        "1=hkey_current_user\\Software\\InstallRemovalTest\\Foo\r\n"
        "2=HKEY_CURRENT_USER\r\n");
    ASSERT_EQ(2u, seen.size()) << Describe(seen);
    ExpectNothingDeleted();
}

TEST_F(RegistryRemovalTest, ListEndsAtFirstEmptyOrMissingEntry)
{
    MakeFooTree(HKEY_CURRENT_USER);
    CreateKey(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\One");
    auto seen = RemoveListed(
        "1=\r\n"
        "2=HKEY_CURRENT_USER\\Software\\InstallRemovalTest\\Foo\r\n");
    EXPECT_TRUE(seen.empty()) << Describe(seen);
    ExpectNothingDeleted();

    seen = RemoveListed(
        "1=HKEY_CURRENT_USER\\Software\\InstallRemovalTest\\One\r\n"
        "3=HKEY_CURRENT_USER\\Software\\InstallRemovalTest\\Foo\r\n");
    EXPECT_TRUE(seen.empty()) << Describe(seen);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(kTestKey) + L"\\One"));
    ExpectNothingDeleted();
}

// The three roots redirected into scratch keys of this process, so that the
// keys other software shares can be made there and a failing run deletes
// only scratch keys.
class SharedRegistryKeys : public RemovalTest {
protected:
    void SetUp() override
    {
        RemovalTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
        for (int i = 0; i < 3; ++i) {
            const std::wstring path = std::wstring(kScratchKey) + L"\\" + kRoots[i].scratch;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                     nullptr, &scratch_[i], nullptr));
        }
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(kRoots[i].root, scratch_[i]));
    }

    void TearDown() override
    {
        for (int i = 0; i < 3; ++i) {
            RegOverridePredefKey(kRoots[i].root, nullptr);
            if (scratch_[i])
                RegCloseKey(scratch_[i]);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, kScratchKey);
    }

    static constexpr const wchar_t* kScratchKey = L"Software\\InstallSharedKeysTest";
    struct Root {
        HKEY root;
        const wchar_t* scratch;
    };
    const Root kRoots[3] = {{HKEY_CURRENT_USER, L"cu"}, {HKEY_LOCAL_MACHINE, L"lm"}, {HKEY_CLASSES_ROOT, L"cr"}};
    HKEY scratch_[3] = {};
};

// Only where a package's own keys live is a key deleted: below
// Software\<vendor>, a GUID key of the class keys or a ProgID of its own.
TEST_F(SharedRegistryKeys, SharedKeysAreRefusedAndOwnKeysBelowThemDeleted)
{
    const struct {
        const char* entry;
        HKEY root;
        const wchar_t* key;  // made with a subkey below it
        bool own;            // deleted; else refused with message 27
    } cases[] = {
        {"HKEY_CURRENT_USER\\Software", HKEY_CURRENT_USER, L"Software", false},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\", HKEY_LOCAL_MACHINE, L"Software", false},
        {"HKEY_LOCAL_MACHINE\\SYSTEM", HKEY_LOCAL_MACHINE, L"SYSTEM", false},
        {"HKEY_CURRENT_USER\\Software\\Microsoft", HKEY_CURRENT_USER, L"Software\\Microsoft", false},
        {"HKEY_CURRENT_USER\\software\\\\microsoft\\windows\\", HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows", false},
        {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", HKEY_LOCAL_MACHINE,
         L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", false},
        {"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", HKEY_LOCAL_MACHINE,
         L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {"HKEY_CURRENT_USER\\Software\\Classes\\CLSID", HKEY_CURRENT_USER, L"Software\\Classes\\CLSID", false},
        {"HKEY_LOCAL_MACHINE\\Software\\Policies", HKEY_LOCAL_MACHINE, L"Software\\Policies", false},
        {"HKEY_CLASSES_ROOT\\Interface", HKEY_CLASSES_ROOT, L"Interface", false},
        {"HKEY_CLASSES_ROOT\\*", HKEY_CLASSES_ROOT, L"*", false},
        {"HKEY_CLASSES_ROOT\\Directory\\\\", HKEY_CLASSES_ROOT, L"Directory", false},
        {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\CardTool", HKEY_CURRENT_USER,
         L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\CardTool", false},
        // Keys of Windows that are no first-level or well-known shared key,
        // and a root name that runs on into its key path.
        {"HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001", HKEY_LOCAL_MACHINE, L"SYSTEM\\ControlSet001", false},
        {"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print", HKEY_LOCAL_MACHINE,
         L"SYSTEM\\CurrentControlSet\\Control\\Print", false},
        {"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Spooler", HKEY_LOCAL_MACHINE,
         L"SYSTEM\\CurrentControlSet\\Services\\Spooler", false},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT", HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT", false},
        {"HKEY_CLASSES_ROOT\\exefile", HKEY_CLASSES_ROOT, L"exefile", false},
        {"HKEY_CLASSES_ROOT\\.exe", HKEY_CLASSES_ROOT, L".exe", false},
        {"HKEY_CLASSES_ROOT\\Installer", HKEY_CLASSES_ROOT, L"Installer", false},
        {"HKEY_CLASSES_ROOT\\CLSID\\NotAGuid", HKEY_CLASSES_ROOT, L"CLSID\\NotAGuid", false},
        {"HKEY_CURRENT_USER\\Software\\Classes\\.card", HKEY_CURRENT_USER, L"Software\\Classes\\.card", false},
        {"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Policies\\Vendor", HKEY_LOCAL_MACHINE,
         L"Software\\Wow6432Node\\Policies\\Vendor", false},
        {"HKEY_LOCAL_MACHINExSoftware\\Vendor", HKEY_LOCAL_MACHINE, L"Software\\Vendor", false},
        // A package's own keys.
        {"HKEY_CURRENT_USER\\Software\\Vendor\\Product", HKEY_CURRENT_USER, L"Software\\Vendor\\Product", true},
        {"HKEY_LOCAL_MACHINE\\Software\\\\Card Vendor\\Tool\\", HKEY_LOCAL_MACHINE, L"Software\\Card Vendor\\Tool", true},
        {"HKEY_LOCAL_MACHINE/Software\\Wow6432Node\\Card Vendor", HKEY_LOCAL_MACHINE,
         L"Software\\Wow6432Node\\Card Vendor", true},
        {"HKEY_CLASSES_ROOT\\CLSID\\{C0DE0000-0000-0000-0000-00000000CA4D}", HKEY_CLASSES_ROOT,
         L"CLSID\\{C0DE0000-0000-0000-0000-00000000CA4D}", true},
        {"HKEY_CLASSES_ROOT\\CardTool.Document", HKEY_CLASSES_ROOT, L"CardTool.Document", true},
    };
    std::string lines;
    int n = 0;
    size_t refusals = 0;
    for (const auto& c : cases) {
        ASSERT_TRUE(CreateKey(c.root, std::wstring(c.key) + L"\\Below"));
        lines += std::to_string(++n) + "=" + c.entry + "\r\n";
        refusals += !c.own;
    }

    auto seen = RemoveListed(lines);
    EXPECT_EQ(refusals, seen.size()) << Describe(seen);
    for (const auto& box : seen)
        EXPECT_EQ(kAbnormalRegText, box.text);
    for (const auto& c : cases)
        EXPECT_EQ(!c.own, KeyExists(c.root, c.own ? std::wstring(c.key) : std::wstring(c.key) + L"\\Below")) << c.entry;
}

}  // namespace
