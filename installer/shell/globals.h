// Process-wide state of install: one set of variables, set once by the stage
// that owns them and read by every later stage. Paths are ANSI buffers in the
// system code page.
#pragma once
#include <windows.h>

#include "script_snapshot.h"

enum {
    kPathSize = 260,      // paths and message texts
    kTitleSize = 100,     // "Title"
    kFileNameSize = 52,   // program and script file names
    kShortNameSize = 50,
    kCommandLineSize = 512,
    kCatalogueTextSize = 1024,
};

// Entry and run mode.
extern HINSTANCE g_hInstance;
extern char g_programPath[kPathSize];
extern char g_sourceDir[kPathSize];
extern char g_programName[kFileNameSize];
extern char g_scriptPath[kPathSize];
extern char g_scriptName[kFileNameSize];
extern bool g_newShell;

// Install script settings.
extern char g_title[kTitleSize];
extern char g_installKey[kPathSize];
extern char g_installDir[kPathSize];
extern char g_menuDir[kPathSize];
extern bool g_resident;
extern bool g_removeNone;
extern bool g_commonMenu;
extern bool g_copyAll;
extern int g_installCount;
extern int g_groupCount;

// The install script as read at its first use.
extern ScriptSnapshot g_scriptSnapshot;

// The entry resolved last: source file or shortcut name, and its target path.
extern char g_entryName[kPathSize];
extern char g_entryTarget[kPathSize];

// Wizard.
extern HWND g_hwndSheet;
extern bool g_wantStartMenu;
extern bool g_wantDesktopIcon;
extern char (*g_copyAllList)[kPathSize];
extern int g_copyAllCount;
extern int g_installStep;
extern bool g_installDirExisted;  // the install folder was there before the run made it
extern DWORD g_progressShownTick;  // when the bar was last brought up to date
extern bool g_progressBehind;      // steps not shown yet; a timer will show them
extern bool g_installDone;
extern char g_openAfterInstall[kPathSize];

// Shortcuts.
extern char g_uninstallMenuName[kPathSize];

// The window that owns message boxes: the current page or dialog.
extern HWND g_hwndOwner;
