// The manifests inside the built programs: administrator rights, the common
// controls 6 binding and the four supported-OS identifiers that let the
// version test see Windows 8.1 and 10 as they are.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// The text of manifest resource 1 of a program, read as data (a 64-bit
// program can be read this way from a 32-bit test).
std::string ManifestOf(const wchar_t* program)
{
    HMODULE module = LoadLibraryExW(program, nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return std::string();
    std::string text;
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (resource) {
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
        if (data)
            text.assign(data, SizeofResource(module, resource));
    }
    FreeLibrary(module);
    return text;
}

bool Holds(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

void ExpectCommonParts(const std::string& manifest)
{
    ASSERT_FALSE(manifest.empty());
    EXPECT_TRUE(Holds(manifest, "level=\"requireAdministrator\" uiAccess=\"false\""));
    EXPECT_TRUE(Holds(manifest, "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    for (const char* id : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_TRUE(Holds(manifest, (std::string("<supportedOS Id=\"") + id + "\"/>").c_str())) << id;
}

// The program's own identity is the first assemblyIdentity of the manifest.
std::string OwnArchitecture(const std::string& manifest)
{
    const size_t identity = manifest.find("<assemblyIdentity");
    const size_t end = manifest.find("/>", identity);
    const std::string element = manifest.substr(identity, end - identity);
    const size_t value = element.find("processorArchitecture=\"");
    if (value == std::string::npos)
        return std::string();
    const size_t start = value + 23;
    return element.substr(start, element.find('"', start) - start);
}

TEST(Manifest, SetupIsAnX86ProgramThatNeedsAdministratorRights)
{
    const std::string manifest = ManifestOf(SETUP_EXE);
    ExpectCommonParts(manifest);
    EXPECT_EQ("x86", OwnArchitecture(manifest));
}

TEST(Manifest, Setup64TakesAnyArchitectureAndTheSameRights)
{
    const std::string manifest = ManifestOf(SETUP64_EXE);
    ExpectCommonParts(manifest);
    EXPECT_EQ("*", OwnArchitecture(manifest));
}

}  // namespace
