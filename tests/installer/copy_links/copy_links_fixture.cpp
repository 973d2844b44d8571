#include "copy_links_fixture.h"

#include "globals.h"

namespace copy_links_testing {

const wchar_t kDefaultCaption[] = L"Error";

void InstallGlobals::SetUp()
{
    g_hInstance = GetModuleHandleW(nullptr);
    g_hwndOwner = nullptr;
    g_installDir[0] = '\0';
    g_menuDir[0] = '\0';
    g_uninstallMenuName[0] = '\0';
    g_commonMenu = false;
    g_groupCount = 0;
    g_installCount = 0;
    lstrcpynA(g_title, "Tool Suite", kTitleSize);
    lstrcpynA(g_programName, "install.exe", kFileNameSize);
}

std::string MissingDrive()
{
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        std::string root = std::string(1, letter) + ":\\";
        if (GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR)
            return root.substr(0, 2);
    }
    return "";
}

}  // namespace copy_links_testing
