/* Identifiers of install's resources, shared by the C++ code and the .rc files
   (so only #define lines: windres reads this file too). */
#ifndef INSTALL_RESOURCE_IDS_H
#define INSTALL_RESOURCE_IDS_H

/* Message catalogue. Identifiers not listed here do not exist in any language. */
#define IDS_DAMAGED_SCRIPT          1
#define IDS_UNINSTALL_ENTRY_USED    2
#define IDS_FOLDER_BLOCKED_BY_FILE  5
#define IDS_FOLDER_CREATE_FAILED    6
#define IDS_DESTINATION_PROMPT      7
#define IDS_INSTALL_CAPTION         8
#define IDS_UNINSTALL_MENU_HINT     9
#define IDS_ROOT_FOLDER             11
#define IDS_BAD_PATH                12
#define IDS_LOW_DISK_SPACE          14
#define IDS_FILE_IN_USE             18
#define IDS_OVERWRITE_QUESTION      19
#define IDS_OVERWRITE_CAPTION       20
#define IDS_COPY_FAILED             21
#define IDS_INSTALL_SUCCEEDED       22
#define IDS_DELETE_FILE_FAILED      24
#define IDS_DELETE_UNLISTED_FILE    25
#define IDS_DELETE_FOLDER_FAILED    26
#define IDS_ABNORMAL_REG_SECTION    27
#define IDS_DELETE_PROGRAM_FAILED   28
#define IDS_UNINSTALL_CAPTION       29
#define IDS_UNINSTALL_SUCCEEDED     30
#define IDS_FILES_LEFT              31
#define IDS_UNINSTALL_CONFIRM       32
#define IDS_CLOSE_RESIDENT          33
#define IDS_HANDOVER_FAILED         34
#define IDS_INSTALL_COMPLETED       35
#define IDS_INSTALL_INTERRUPTED     36
#define IDS_SCRIPT_SUFFIX           37
#define IDS_NEEDS_WINDOWS_2000      38
#define IDS_SHARED_FOLDER           39
#define IDS_LINKED_FOLDER           40
#define IDS_NAMES_SKIPPED           41
#define IDS_NOT_INSTALLED_FILE      42
#define IDS_MENU_OUTSIDE            43

/* Dialog templates: the three wizard pages and the uninstall dialog. */
#define IDD_DESTINATION_PAGE        100
#define IDD_UNINSTALL               102
#define IDD_PROGRESS_PAGE           105
#define IDD_MENU_OPTIONS_PAGE       110

/* Icon groups; the first is the program's icon. */
#define IDI_PROGRAM                 112
#define IDI_UNINSTALL               113
#define IDI_CAUTION                 114

/* Controls. 1004 is the group combo box on the menu options page and the
   progress bar on the progress page. */
#define IDC_DESTINATION_PROMPT      1000
#define IDC_DESTINATION_FOLDER      1001
#define IDC_BROWSE                  1002
#define IDC_GROUP_FOLDER            1004
#define IDC_PROGRESS                1004
#define IDC_DESKTOP_ICON            1006
#define IDC_START_MENU              1007
#define IDC_INSTALL_STATUS          1008
#define IDC_UNINSTALL_STATUS        1009
#define IDC_UNINSTALL_HINT          1010
/* The uninstall dialog's Finish button is IDCANCEL (2). */

#endif
