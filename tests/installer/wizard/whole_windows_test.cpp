// install.exe's windows as a person sees them, in the language of the run
// (LC_ALL): every visible control of a wizard page lies inside the part of
// the page that the frame shows, the page lies inside the frame above its
// separator and buttons, and the message boxes and the uninstall dialog
// hold their controls.
#include <gtest/gtest.h>

#include <windows.h>
#include <prsht.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <string>

#include "install_wizard_driver.h"
#include "process_tree.h"
#include "uninstall_checks.h"
#include "wizard_e2e_fixture.h"

using namespace installer_testing;
using namespace testing_support;
using namespace uninstall_testing;
using namespace wizard_testing;

namespace {

const int kHintId = 1010;
const int kFinishButtonId = 0x3025;

RECT ScreenRect(HWND window, bool client = false)
{
    RECT rect = {};
    if (client && GetClientRect(window, &rect))
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    else if (!client)
        GetWindowRect(window, &rect);
    return rect;
}

bool Inside(const RECT& r, const RECT& area)
{
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

std::string Describe(HWND window)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    const RECT r = ScreenRect(window);
    char text[160];
    snprintf(text, sizeof(text), "%ls %d at (%ld,%ld)-(%ld,%ld)", name, GetDlgCtrlID(window), r.left, r.top, r.right,
             r.bottom);
    return text;
}

bool IsPage(HWND window)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

// The first visible control of window that is not wholly inside area (screen
// coordinates), or that begins above top; "" when there is none.
std::string ControlOutside(HWND window, const RECT& area, LONG top = LONG_MIN)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && !IsPage(child) &&
            (!Inside(ScreenRect(child), area) || ScreenRect(child).top < top))
            return Describe(child) + " is not inside " + Describe(window);
    }
    return "";
}

// What a page shows is the part of it inside the frame's client area. The
// frame's own controls (the separator and the buttons) lie below the page.
std::string PageFault(HWND page)
{
    const HWND sheet = GetParent(page);
    const RECT frame = ScreenRect(sheet, true);
    const RECT pageClient = ScreenRect(page, true);
    RECT shown = {};
    IntersectRect(&shown, &frame, &pageClient);
    std::string fault = ControlOutside(page, shown);
    if (fault.empty() && !Inside(ScreenRect(page), frame))
        fault = Describe(page) + " is not inside the frame";
    return fault.empty() ? ControlOutside(sheet, frame, ScreenRect(page).bottom) : fault;
}

std::string DialogFault(HWND window)
{
    return ControlOutside(window, ScreenRect(window, true));
}

std::string SizeOf(HWND window)
{
    const RECT r = ScreenRect(window);
    return std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

const wchar_t kInstallKey[] = L"WholeWindowsTest";

class WholeWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell_.Ready());
        ASSERT_TRUE(medium_.Ready());
        ASSERT_TRUE(medium_.Write(L"app.exe", "application"));
        // missing.txt is not on the medium: its copy fails with a box while
        // the run's progress bar is shown.
        ASSERT_TRUE(medium_.Write(L"install.INF",
                                  "[Install]\r\nTitle=Whole Windows Tool\r\nFolder=Wizard Tests\\Whole\r\n"
                                  "InstallKey=WholeWindowsTest\r\nMenu=Whole Group\r\n1=app.exe\r\n2=missing.txt\r\n"
                                  "[Group]\r\n1=App,app.exe\r\n2=Remove,install.exe,/r\r\n"));
    }

    // The steps of an install and its uninstall; each returns the window that
    // the next check measures.
    HWND DestinationPage()
    {
        if (!medium_.Start(&install_) || !(sheet_ = WaitForWizard(install_.Id(), kWaitMs)))
            return nullptr;
        HWND page = WaitForWizardPage(sheet_, DestinationPageMark, kWaitMs);
        SetControlText(page, DestinationPageMark, target_ / L"Whole");
        return page;
    }
    HWND Turn(int button, WizardPageMark mark)
    {
        PressWizardButton(sheet_, button);
        return WaitForWizardPage(sheet_, mark, kWaitMs);
    }
    HWND ProgressPageWithItsBar()
    {
        PressWizardButton(sheet_, PSBTN_NEXT);
        box_ = WaitForMessageBox(install_.Id(), kWaitMs);
        return box_ ? CurrentWizardPage(sheet_) : nullptr;
    }
    HWND ProgressPageAtCompletion()
    {
        HWND page = CurrentWizardPage(sheet_);
        if (!PressAndWaitGone(box_, IDOK, kWaitMs))
            return nullptr;
        for (DWORD start = GetTickCount(); !IsControlVisible(page, kHintId) || !IsControlEnabled(sheet_, kFinishButtonId);
             Sleep(50)) {
            if (GetTickCount() - start >= kWaitMs)
                return nullptr;
        }
        return page;
    }
    HWND CompletionBox()
    {
        PressWizardButton(sheet_, PSBTN_FINISH);
        return box_ = WaitForMessageBox(install_.Id(), kWaitMs);
    }
    HWND UninstallConfirmation()
    {
        DWORD code = 0;
        if (!PressAndWaitGone(box_, IDOK, kWaitMs) || !install_.WaitForExit(kWaitMs, &code))
            return nullptr;
        uninstall_.StartUntilConfirmation(RegisteredUninstallCommand(kInstallKey), kWaitMs);
        return uninstall_.ConfirmationBox();
    }

    ScopedShellFolders shell_;
    ScopedPendingDeletions pending_;
    Medium medium_;
    ScratchDir target_{L"whole"};
    ScopedUninstallEntry entry_{kInstallKey};
    RunningProgram install_;
    UninstallDriver uninstall_;
    HWND sheet_ = nullptr;
    HWND box_ = nullptr;
};

TEST_F(WholeWindows, EveryWindowShowsAllItsControls)
{
    const struct {
        const char* window;
        std::function<HWND()> reach;
        std::string (*fault)(HWND);
    } stops[] = {
        {"destination page", [&] { return DestinationPage(); }, PageFault},
        {"menu options page", [&] { return Turn(PSBTN_NEXT, MenuOptionsPageMark); }, PageFault},
        {"destination page after <Back>", [&] { return Turn(PSBTN_BACK, DestinationPageMark); }, PageFault},
        {"menu options page again", [&] { return Turn(PSBTN_NEXT, MenuOptionsPageMark); }, PageFault},
        {"progress page during the run", [&] { return ProgressPageWithItsBar(); }, PageFault},
        {"copy failure box", [&] { return box_; }, DialogFault},
        {"progress page at completion", [&] { return ProgressPageAtCompletion(); }, PageFault},
        {"completion box", [&] { return CompletionBox(); }, DialogFault},
        {"uninstall confirmation", [&] { return UninstallConfirmation(); }, DialogFault},
        {"uninstall dialog",
         [&] { return uninstall_.ConfirmAndWaitForDialog(L"", kWaitMs) ? uninstall_.Dialog() : nullptr; }, DialogFault},
    };
    std::string frame;
    for (const auto& stop : stops) {
        HWND window = stop.reach();
        ASSERT_NE(nullptr, window) << stop.window << " did not come " << uninstall_.Failure();
        EXPECT_EQ("", stop.fault(window)) << stop.window;
        // The frame is made large enough once, before it is shown.
        if (IsWindow(sheet_)) {
            const std::string size = SizeOf(sheet_);
            frame = frame.empty() ? size : frame;
            EXPECT_EQ(frame, size) << stop.window;
        }
    }
    DWORD code = 0;
    EXPECT_TRUE(uninstall_.WaitForRunEnd({}, kWaitMs) && uninstall_.PressFinish(kWaitMs, &code));
}

}  // namespace
