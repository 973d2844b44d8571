#include "install_wizard_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include "process_tree.h"

namespace testing_support {

namespace {

const int kMessageTextId = 0xFFFF;
const int kGroupComboId = 1004;
const int kPromptId = 1000;
const int kHintId = 1010;
const int kFinishButtonId = 0x3025;  // the wizard frame's <Finish>

bool IsMessageBox(HWND window)
{
    return GetDlgItem(window, kMessageTextId) != nullptr;
}

bool HoldsPage(HWND window)
{
    return FindWindowExW(window, nullptr, L"#32770", nullptr) != nullptr;
}

template <class Test>
HWND WaitForTopLevel(DWORD pid, DWORD timeoutMs, Test test)
{
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : TopLevelWindows(pid)) {
            wchar_t cls[16] = {};
            GetClassNameW(window, cls, 16);
            if (lstrcmpW(cls, L"#32770") == 0 && test(window))
                return window;
        }
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

// Polls until the page of the progress run shows its completion (or a box
// comes up, which the caller answers); false at once when the program ended.
bool WaitForCompletionOrBox(const RunningProgram& program, HWND page, DWORD timeoutMs, HWND* box)
{
    const DWORD start = GetTickCount();
    *box = nullptr;
    while (GetTickCount() - start < timeoutMs && WaitForSingleObject(program.Handle(), 0) == WAIT_TIMEOUT) {
        if (IsControlVisible(page, kHintId))
            return true;
        *box = WaitForMessageBox(program.Id(), 0);
        if (*box)
            return false;
        Sleep(50);
    }
    return false;
}

}  // namespace

HWND WaitForWizard(DWORD pid, DWORD timeoutMs)
{
    return WaitForTopLevel(pid, timeoutMs, HoldsPage);
}

HWND CurrentWizardPage(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

HWND WaitForWizardPage(HWND sheet, WizardPageMark mark, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND page = CurrentWizardPage(sheet);
        if (page && GetDlgItem(page, mark))
            return page;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

bool PressWizardButton(HWND sheet, int psbtn)
{
    return PostMessageW(sheet, PSM_PRESSBUTTON, psbtn, 0) != FALSE;
}

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs)
{
    return WaitForTopLevel(pid, timeoutMs, IsMessageBox);
}

bool AnswerNextMessageBox(DWORD pid, int button, DWORD timeoutMs, MessageBoxSeen* seen)
{
    HWND box = WaitForMessageBox(pid, timeoutMs);
    if (!box)
        return false;
    if (seen) {
        seen->caption = WindowText(box);
        seen->text = MessageBoxText(box);
    }
    return PressAndWaitGone(box, button, timeoutMs);
}

bool SetControlText(HWND dialog, int controlId, const std::wstring& text)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control && SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool IsButtonChecked(HWND dialog, int controlId)
{
    return SendDlgItemMessageW(dialog, controlId, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetButtonChecked(HWND dialog, int controlId, bool checked)
{
    SendDlgItemMessageW(dialog, controlId, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

WizardWalk DriveInstallWizard(const RunningProgram& program, const WizardChoices& choices, DWORD timeoutMs)
{
    WizardWalk walk;
    HWND sheet = WaitForWizard(program.Id(), timeoutMs);
    HWND page = sheet ? WaitForWizardPage(sheet, DestinationPageMark, timeoutMs) : nullptr;
    if (!page) {
        walk.failure = sheet ? "no destination page" : "no wizard came";
        return walk;
    }
    // The page sets the frame's caption by a posted message.
    for (DWORD start = GetTickCount(); GetWindowTextLengthW(sheet) == 0 && GetTickCount() - start < timeoutMs;)
        Sleep(20);
    walk.sheetCaption = WindowText(sheet);
    walk.prompt = ControlText(page, kPromptId);
    walk.defaultDestination = ControlText(page, DestinationPageMark);
    if (!choices.destination.empty())
        SetControlText(page, DestinationPageMark, choices.destination);
    PressWizardButton(sheet, PSBTN_NEXT);

    if (!choices.resident) {
        page = WaitForWizardPage(sheet, MenuOptionsPageMark, timeoutMs);
        if (!page) {
            walk.failure = "no menu options page";
            return walk;
        }
        walk.defaultGroup = ControlText(page, kGroupComboId);
        if (!choices.group.empty())
            SetControlText(page, kGroupComboId, choices.group);
        SetButtonChecked(page, MenuOptionsPageMark, choices.startMenu);
        SetButtonChecked(page, 1006, choices.desktopIcon);
        PressWizardButton(sheet, PSBTN_NEXT);
    }

    page = WaitForWizardPage(sheet, ProgressPageMark, timeoutMs);
    if (!page) {
        walk.failure = "no progress page";
        return walk;
    }
    HWND box = nullptr;
    while (!WaitForCompletionOrBox(program, page, timeoutMs, &box)) {
        if (!box) {
            walk.failure = "the run did not complete";
            return walk;
        }
        size_t n = walk.runBoxes.size();
        int button = n < choices.runBoxAnswers.size() ? choices.runBoxAnswers[n] : IDOK;
        MessageBoxSeen seen{WindowText(box), MessageBoxText(box)};
        walk.runBoxes.push_back(seen);
        if (!PressAndWaitGone(box, button, timeoutMs)) {
            walk.failure = "a message box of the run did not close";
            return walk;
        }
    }
    walk.statusText = ControlText(page, ProgressPageMark);
    walk.hintText = ControlText(page, kHintId);
    walk.hintVisible = IsControlVisible(page, kHintId);
    // <Finish> is offered by a posted message after the hint is shown.
    for (DWORD start = GetTickCount(); !IsControlEnabled(sheet, kFinishButtonId) && GetTickCount() - start < timeoutMs;)
        Sleep(20);
    PressWizardButton(sheet, PSBTN_FINISH);
    walk.completed = AnswerNextMessageBox(program.Id(), IDOK, timeoutMs, &walk.completion);
    if (!walk.completed)
        walk.failure = "no completion box";
    return walk;
}

WizardWalk WalkInstallWizard(const RunningProgram& program, const WizardChoices& choices, DWORD timeoutMs)
{
    WizardWalk walk = DriveInstallWizard(program, choices, timeoutMs);
    EXPECT_EQ("", walk.failure);
    return walk;
}

}  // namespace testing_support
