#include "globals.h"

HINSTANCE g_hInstance;
char g_programPath[kPathSize];
char g_sourceDir[kPathSize];
char g_programName[kFileNameSize];
char g_scriptPath[kPathSize];
char g_scriptName[kFileNameSize];
bool g_newShell;

char g_title[kTitleSize];
char g_installKey[kPathSize];
char g_installDir[kPathSize];
char g_menuDir[kPathSize];
bool g_resident;
bool g_removeNone;
bool g_commonMenu;
bool g_copyAll;
int g_installCount;
int g_groupCount;

ScriptSnapshot g_scriptSnapshot;

char g_entryName[kPathSize];
char g_entryTarget[kPathSize];

HWND g_hwndSheet;
bool g_wantStartMenu;
bool g_wantDesktopIcon;
char (*g_copyAllList)[kPathSize];
int g_copyAllCount;
int g_installStep;
bool g_installDirExisted;
DWORD g_progressShownTick;
bool g_progressBehind;
bool g_installDone;
char g_openAfterInstall[kPathSize];

char g_uninstallMenuName[kPathSize];

HWND g_hwndOwner;
