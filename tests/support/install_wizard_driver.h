// Drives the install wizard of a running install.exe the way a user would:
// finds the property sheet and its pages, fills the fields, presses <Next>
// and <Finish>, and answers the message boxes that come up on the way.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

#include "window_driver.h"

namespace testing_support {

// Controls that tell the pages apart (the template's ids).
enum WizardPageMark {
    DestinationPageMark = 1001,  // destination folder field
    MenuOptionsPageMark = 1007,  // "Register for start menu." check box
    ProgressPageMark = 1008,     // status line of the run
};

// The wizard frame of process pid (a top-level "#32770" holding a page).
HWND WaitForWizard(DWORD pid, DWORD timeoutMs);

// The page the wizard shows now (PSM_GETCURRENTPAGEHWND).
HWND CurrentWizardPage(HWND sheet);

// Waits until the current page holds the control mark; the page or nullptr.
HWND WaitForWizardPage(HWND sheet, WizardPageMark mark, DWORD timeoutMs);

// Posts PSM_PRESSBUTTON with PSBTN_NEXT, PSBTN_BACK, PSBTN_FINISH or
// PSBTN_CANCEL: posted, so that a message box the button opens cannot block
// the test.
bool PressWizardButton(HWND sheet, int psbtn);

// The next message box of process pid (a "#32770" with a message text, not
// the wizard); nullptr when none came in time.
HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs);

// Reads the next message box of pid, presses button and waits until it is
// gone. False when no box came.
bool AnswerNextMessageBox(DWORD pid, int button, DWORD timeoutMs, MessageBoxSeen* seen);

// WM_SETTEXT to a control of another process's dialog.
bool SetControlText(HWND dialog, int controlId, const std::wstring& text);
bool IsButtonChecked(HWND dialog, int controlId);
void SetButtonChecked(HWND dialog, int controlId, bool checked);

// Choices for one walk through the wizard; empty texts keep the defaults.
struct WizardChoices {
    std::wstring destination;
    std::wstring group;
    bool startMenu = true;
    bool desktopIcon = false;
    bool resident = false;  // TSR=1: the menu options page never comes
    // Buttons for the message boxes that come up during the run (file in
    // use, copy failures, ...), box after box; OK for the rest.
    std::vector<int> runBoxAnswers;
};

// What the walk saw.
struct WizardWalk {
    bool completed = false;          // the run finished and <Finish> was pressed
    std::wstring sheetCaption;       // message 8 with the title
    std::wstring prompt;             // control 1000 of the destination page
    std::wstring defaultDestination; // the field as first shown
    std::wstring defaultGroup;       // the combo box as first shown
    std::wstring statusText;         // control 1008 at completion
    std::wstring hintText;           // control 1010 at completion
    bool hintVisible = false;
    std::vector<MessageBoxSeen> runBoxes;  // boxes answered during the run
    MessageBoxSeen completion;             // message 35, answered with OK
    std::string failure;                   // the step that did not come; "" when none
};

// Walks the wizard of the started install.exe from the destination page to
// the completion box (message 35), which it answers. The walk stops at the
// first step that fails and names it in failure.
WizardWalk DriveInstallWizard(const RunningProgram& program, const WizardChoices& choices, DWORD timeoutMs);

// DriveInstallWizard for tests: a failure is reported through gtest.
WizardWalk WalkInstallWizard(const RunningProgram& program, const WizardChoices& choices, DWORD timeoutMs);

}  // namespace testing_support
