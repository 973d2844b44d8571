// RegisterComponent on the sample package's CardReg.dll and on files that
// are no components.
#include <gtest/gtest.h>

#include <string>

#include "component_registration.h"
#include "settings_fixture.h"
#include "test_files.h"

using installer_testing::Ansi;
using namespace testing_support;

namespace {

const wchar_t kComponentKey[] = L"Software\\CardPrinterSample\\Component";

std::wstring Registered()
{
    wchar_t value[16] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kComponentKey, L"Registered", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"(none)";
    return value;
}

class ComponentRegistration : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kComponentKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kComponentKey); }
    ScratchDir dir_{L"component"};
};

TEST_F(ComponentRegistration, RegisterThenUnregister)
{
    // A folder with a blank, as below "Program Files".
    std::wstring component = dir_ / L"Card Reg.dll";
    ASSERT_TRUE(CopyFileW(CARD_REG_DLL, component.c_str(), FALSE));
    RegisterComponent(Ansi(component).c_str(), false);
    EXPECT_EQ(L"1", Registered());
    RegisterComponent(Ansi(component).c_str(), true);
    EXPECT_EQ(L"(none)", Registered());
    // Unloaded again after each call: the file can be deleted.
    EXPECT_TRUE(DeleteFileW(component.c_str()));
}

TEST_F(ComponentRegistration, FilesThatAreNoComponentsAreSkippedSilently)
{
    ASSERT_TRUE(WriteFileBytes(dir_ / L"text.dll", "not a library"));
    RegisterComponent(Ansi(dir_ / L"text.dll").c_str(), false);
    RegisterComponent(Ansi(dir_ / L"missing.dll").c_str(), false);
    // A library without the entry points.
    RegisterComponent("version.dll", false);
    EXPECT_EQ(L"(none)", Registered());
}

// A component's own imports are looked for in its own folder and the system
// directory only: a DLL of that name in the current directory (or on PATH)
// is not loaded with it.
TEST_F(ComponentRegistration, ImportsComeFromTheComponentsFolderOnly)
{
    ScratchDir current(L"current");
    const std::wstring component = dir_ / L"search_probe_component.dll";
    const std::wstring probeDir = SEARCH_PROBE_DIR;
    ASSERT_TRUE(CopyFileW((probeDir + L"\\search_probe_component.dll").c_str(), component.c_str(), FALSE));
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    const struct {
        const ScratchDir* dependencyIn;
        const wchar_t* registered;
    } cases[] = {{&current, L""}, {&dir_, L"1"}};
    for (const auto& c : cases) {
        const std::wstring dependency = *c.dependencyIn / L"search_probe_dependency.dll";
        ASSERT_TRUE(CopyFileW((probeDir + L"\\search_probe_dependency.dll").c_str(), dependency.c_str(), FALSE));
        SetEnvironmentVariableW(L"SearchProbeRegistered", nullptr);
        ASSERT_TRUE(SetCurrentDirectoryW(current.Path().c_str()));
        RegisterComponent(Ansi(component).c_str(), false);
        SetCurrentDirectoryW(previous);
        wchar_t value[8] = {};
        GetEnvironmentVariableW(L"SearchProbeRegistered", value, 8);
        EXPECT_STREQ(c.registered, value) << (c.dependencyIn == &current ? "current directory" : "own folder");
    }
}

}  // namespace
