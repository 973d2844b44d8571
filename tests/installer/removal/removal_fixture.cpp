#include "removal_fixture.h"

#include "globals.h"
#include "settings_fixture.h"

namespace installer_testing {

const wchar_t kTitle[] = L"Removal Test Product";
const wchar_t kAbnormalRegText[] = L"Found abnormal Reg section.";
const wchar_t kDefaultCaption[] = L"Error";

void RemovalTest::SetUp()
{
    g_hInstance = GetModuleHandleW(nullptr);
    g_hwndOwner = nullptr;
    lstrcpynA(g_title, Ansi(kTitle).c_str(), kTitleSize);
    g_removeNone = false;
    g_copyAll = false;
}

std::wstring FileNotRemovedText(const std::wstring& path)
{
    return L"Failed in uninstalling " + path + L".  Continue the process without uninstalling the file.";
}

std::wstring LeftoverQuestionText(const std::wstring& path)
{
    return L"Do you uninstall " + path + L"?";
}

std::wstring FolderNotRemovedText(const std::wstring& path)
{
    return L"Failed in deleting the folder, " + path + L".";
}

HeldOpen::HeldOpen(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr))
{
}

HeldOpen::~HeldOpen()
{
    if (IsHeld())
        CloseHandle(handle_);
}

std::string Describe(const std::vector<testing_support::MessageBoxSeen>& boxes)
{
    std::wstring text;
    for (const auto& box : boxes)
        text += L"[" + box.caption + L"] " + box.text + L"\n";
    return Ansi(text);
}

void ExpectOneBox(testing_support::BoxAnswerer& boxes, const std::wstring& text, const std::wstring& caption)
{
    auto seen = boxes.Seen();
    ASSERT_EQ(1u, seen.size()) << Describe(seen);
    EXPECT_EQ(text, seen[0].text);
    EXPECT_EQ(caption, seen[0].caption);
}

}  // namespace installer_testing
