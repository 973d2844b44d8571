// install's text operations on its own catalogue, in the language this run
// was started in: texts arrive in the ANSI code page of that language.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <thread>

#include "expected_catalogue.h"
#include "globals.h"
#include "messages.h"
#include "test_files.h"
#include "window_driver.h"

namespace {

using testing_support::ToCodePage;

// pattern with its %s and %u conversions replaced, in order, by values.
std::string Fill(std::string pattern, std::initializer_list<std::string> values)
{
    size_t from = 0;
    for (const std::string& value : values) {
        size_t at = pattern.find('%', from);
        while (at != std::string::npos && at + 1 < pattern.size() && pattern[at + 1] != 's' && pattern[at + 1] != 'u')
            at = pattern.find('%', at + 1);
        if (at == std::string::npos)
            break;
        pattern.replace(at, 2, value);
        from = at + value.size();
    }
    return pattern;
}

class TextOperationsTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(LanguageOfThisRun(&language_)) << "INSTALL_TEST_LANGUAGE must be en, ja or zh";
    }

    const LanguageInfo& Info() const { return InfoOf(language_); }

    // Catalogue text id as LoadStringA must deliver it in this run's code page.
    std::string Expected(UINT id) const { return ToCodePage(ExpectedText(id, language_), Info().codePage); }

    Language language_ = English;
};

TEST_F(TextOperationsTest, LocaleOfThisRunTookEffect)
{
    EXPECT_EQ(Info().codePage, GetACP());
    EXPECT_EQ(Info().id, GetUserDefaultUILanguage());
}

TEST_F(TextOperationsTest, EveryCatalogueTextArrivesInTheCodePage)
{
    for (const CatalogueText& entry : Catalogue()) {
        char buffer[kCatalogueTextSize];
        EXPECT_EQ(buffer, LoadText(buffer, sizeof buffer, entry.id));
        EXPECT_EQ(Expected(entry.id), buffer) << "identifier " << entry.id;
        EXPECT_EQ(Expected(entry.id), GetText(entry.id)) << "identifier " << entry.id;
    }
}

TEST_F(TextOperationsTest, ScriptSuffixFollowsTheLanguage)
{
    const char* suffixes[kLanguageCount] = {"E.INF", "J.INF", "C.INF"};
    EXPECT_STREQ(suffixes[language_], GetText(IDS_SCRIPT_SUFFIX));
}

TEST_F(TextOperationsTest, MissingIdentifiersYieldQuestionMark)
{
    for (UINT id : {0u, 3u, 4u, 10u, 23u, 44u, 65535u}) {
        EXPECT_STREQ("?", GetText(id)) << id;
        EXPECT_STREQ("?", FormatText(id, "unused")) << id;
        char buffer[2];
        EXPECT_STREQ("?", LoadText(buffer, sizeof buffer, id)) << id;
    }
}

TEST_F(TextOperationsTest, LoadTextStaysWithinItsBuffer)
{
    // What fits of the text, or "?" where not even one (double-byte) character fits.
    for (int size : {1, 2, 3, 16}) {
        char area[32];
        std::memset(area, 'Z', sizeof area);
        LoadText(area, size, IDS_DAMAGED_SCRIPT);
        size_t length = strnlen(area, size);
        ASSERT_LT(length, static_cast<size_t>(size)) << "not terminated in " << size;
        for (size_t i = size; i < sizeof area; ++i)
            ASSERT_EQ('Z', area[i]) << "written past " << size;
        if (std::strcmp(area, "?") != 0)
            EXPECT_EQ(0, Expected(IDS_DAMAGED_SCRIPT).compare(0, length, area)) << "not a prefix: " << area;
        if (size == 16)
            EXPECT_GT(length, 10u);
    }
}

TEST_F(TextOperationsTest, GetTextSharesOneBuffer)
{
    const char* first = GetText(IDS_INSTALL_COMPLETED);
    const char* second = GetText(IDS_INSTALL_INTERRUPTED);
    EXPECT_EQ(first, second);
    EXPECT_EQ(Expected(IDS_INSTALL_INTERRUPTED), first);
}

TEST_F(TextOperationsTest, FormatTextOverwritesItsPreviousResult)
{
    const char* first = FormatText(IDS_INSTALL_CAPTION, "Alpha");
    EXPECT_EQ(Fill(Expected(IDS_INSTALL_CAPTION), {"Alpha"}), first);
    const char* second = FormatText(IDS_UNINSTALL_CAPTION, "Beta");
    EXPECT_EQ(first, second);
    EXPECT_EQ(Fill(Expected(IDS_UNINSTALL_CAPTION), {"Beta"}), first);
    // GetText keeps a buffer of its own.
    EXPECT_NE(static_cast<const void*>(GetText(IDS_INSTALL_CAPTION)), static_cast<const void*>(second));
}

TEST_F(TextOperationsTest, FormatTextIntoFillsTextsAndNumbers)
{
    char text[kCatalogueTextSize];
    FormatTextInto(text, IDS_LOW_DISK_SPACE, 42u);
    EXPECT_EQ(Fill(Expected(IDS_LOW_DISK_SPACE), {"42"}), text);
    FormatTextInto(text, IDS_LOW_DISK_SPACE, 4294967295u);
    EXPECT_EQ(Fill(Expected(IDS_LOW_DISK_SPACE), {"4294967295"}), text);
    FormatTextInto(text, IDS_DELETE_PROGRAM_FAILED, "C:\\Apps\\tool.exe", "Tool");
    EXPECT_EQ(Fill(Expected(IDS_DELETE_PROGRAM_FAILED), {"C:\\Apps\\tool.exe", "Tool"}), text);
    FormatTextInto(text, IDS_OVERWRITE_QUESTION, "C:\\Apps\\a.dll", "2026/01/02 03:04:05", "2025/06/07 08:09:10");
    EXPECT_EQ(Fill(Expected(IDS_OVERWRITE_QUESTION), {"C:\\Apps\\a.dll", "2026/01/02 03:04:05", "2025/06/07 08:09:10"}),
              text);
    EXPECT_NE(nullptr, std::strchr(text, '\n')) << "line breaks lost";
}

TEST_F(TextOperationsTest, FormatTextIntoLeavesTheSharedResultAlone)
{
    const char* shared = FormatText(IDS_INSTALL_CAPTION, "Kept");
    char text[kCatalogueTextSize];
    FormatTextInto(text, IDS_INSTALL_CAPTION, "Other");
    EXPECT_EQ(Fill(Expected(IDS_INSTALL_CAPTION), {"Kept"}), shared);
    EXPECT_EQ(Fill(Expected(IDS_INSTALL_CAPTION), {"Other"}), text);
}

TEST_F(TextOperationsTest, OverlongResultsAreCutAtTheBuffer)
{
    const std::string huge(3000, 'x');
    const char* shared = FormatText(IDS_INSTALL_CAPTION, huge.c_str());
    size_t length = strnlen(shared, kCatalogueTextSize);
    ASSERT_LT(length, static_cast<size_t>(kCatalogueTextSize));
    EXPECT_EQ(0, Fill(Expected(IDS_INSTALL_CAPTION), {huge}).compare(0, length, shared));
    EXPECT_GT(length, 1000u) << "cut far too early";

    struct {
        char text[kCatalogueTextSize];
        char guard[64];
    } area;
    std::memset(&area, 'Z', sizeof area);
    FormatTextInto(area.text, IDS_INSTALL_CAPTION, huge.c_str());
    ASSERT_LT(strnlen(area.text, sizeof area.text), sizeof area.text);
    for (char c : area.guard)
        ASSERT_EQ('Z', c) << "written past the destination";
}

// Shows a message box on a worker thread, as install's own thread would,
// owned by a window of that thread; the test thread reads and answers it.
class MessageBoxRun {
public:
    MessageBoxRun(UINT id, std::string caption, bool withCaption, UINT style)
        : worker_([=] {
              owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10,
                                       nullptr, nullptr, nullptr, nullptr);
              result_ = ShowMessage(owner_, id, withCaption ? caption.c_str() : nullptr, style);
              DestroyWindow(owner_);
          })
    {
    }
    ~MessageBoxRun()
    {
        if (worker_.joinable())
            worker_.join();
    }
    // The button that closed the box; waits for the worker.
    int Result()
    {
        worker_.join();
        return result_;
    }
    HWND Owner() const { return owner_; }

private:
    HWND owner_ = nullptr;
    int result_ = 0;
    std::thread worker_;
};

TEST_F(TextOperationsTest, ShowMessageShowsCatalogueTextWithCaptionAndOwner)
{
    // A caption in the language of the run, passed in its code page.
    std::wstring caption = ExpectedText(IDS_OVERWRITE_CAPTION, language_);
    MessageBoxRun run(IDS_INSTALL_COMPLETED, ToCodePage(caption, Info().codePage), true,
                      MB_OKCANCEL | MB_ICONINFORMATION);
    HWND box = testing_support::WaitForDialog(GetCurrentProcessId(), 10000);
    ASSERT_NE(nullptr, box) << "no message box";
    EXPECT_EQ(caption, testing_support::WindowText(box));
    EXPECT_EQ(ExpectedText(IDS_INSTALL_COMPLETED, language_), testing_support::MessageBoxText(box));
    EXPECT_EQ(run.Owner(), GetWindow(box, GW_OWNER));
    ASSERT_TRUE(testing_support::ClickButton(box, IDCANCEL));
    EXPECT_EQ(IDCANCEL, run.Result());
}

TEST_F(TextOperationsTest, ShowMessageWithoutCaptionUsesThePlatformDefault)
{
    const wchar_t* defaults[kLanguageCount] = {L"Error", L"エラー", L"错误"};
    MessageBoxRun run(IDS_DAMAGED_SCRIPT, "", false, MB_ICONERROR);
    testing_support::MessageBoxSeen seen;
    ASSERT_TRUE(testing_support::AnswerMessageBox(GetCurrentProcessId(), 10000, IDOK, &seen));
    EXPECT_EQ(defaults[language_], seen.caption);
    EXPECT_EQ(ExpectedText(IDS_DAMAGED_SCRIPT, language_), seen.text);
    EXPECT_EQ(IDOK, run.Result());
}

// A pop-up window of the given size, destroyed at the end of the test.
class PopupWindow {
public:
    PopupWindow(int width, int height)
        : window_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 7, 9, width, height,
                                  nullptr, nullptr, nullptr, nullptr))
    {
    }
    PopupWindow(const PopupWindow&) = delete;
    PopupWindow& operator=(const PopupWindow&) = delete;
    ~PopupWindow()
    {
        if (window_)
            DestroyWindow(window_);
    }
    HWND Handle() const { return window_; }
    RECT Frame() const
    {
        RECT frame = {};
        GetWindowRect(window_, &frame);
        return frame;
    }

private:
    HWND window_;
};

TEST_F(TextOperationsTest, CenterWindowPutsAWindowInTheMiddleOfTheScreen)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    PopupWindow window(201, 101);
    ASSERT_NE(nullptr, window.Handle());
    CenterWindow(window.Handle());
    RECT frame = window.Frame();
    EXPECT_EQ((screenWidth - 201) / 2, frame.left);
    EXPECT_EQ((screenHeight - 101) / 2, frame.top);
    EXPECT_EQ(201, frame.right - frame.left);
    EXPECT_EQ(101, frame.bottom - frame.top);
}

TEST_F(TextOperationsTest, CenterWindowMovesAWindowLargerThanTheScreenToNegativeCoordinates)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    PopupWindow window(screenWidth + 301, screenHeight + 101);
    ASSERT_NE(nullptr, window.Handle());
    RECT before = window.Frame();
    ASSERT_EQ(screenWidth + 301, before.right - before.left) << "the platform resized the window";
    CenterWindow(window.Handle());
    RECT frame = window.Frame();
    // Halves of odd negative differences truncate toward zero.
    EXPECT_EQ(-150, frame.left);
    EXPECT_EQ(-50, frame.top);
    EXPECT_EQ(screenWidth + 301, frame.right - frame.left);
    EXPECT_EQ(screenHeight + 101, frame.bottom - frame.top);
}

}  // namespace
