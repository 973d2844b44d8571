// What the sample package's install script of each interface language names
// (one Title in all three, the display name of their one uninstall entry),
// and the install folder's last name that the sample tests choose ("ソフト"
// ends its first character in a 0x5C byte).
#pragma once
#include "expected_catalogue.h"

namespace wizard_testing {

struct SampleScript {
    const wchar_t* file;
    const wchar_t* title;
    const wchar_t* menu;
    const wchar_t* tool;
    const wchar_t* readme;
    const wchar_t* uninstall;
    const wchar_t* folder;
};

inline const SampleScript kSampleScripts[kLanguageCount] = {
    {L"installE.INF", L"Sample Card Printer Software", L"Sample Card Printer", L"Card Tool", L"Read Me",
     L"Uninstall Sample Card Printer Software", L"Card Printer"},
    {L"installJ.INF", L"Sample Card Printer Software", L"サンプル カードプリンタ", L"カードツール",
     L"お読みください", L"サンプル カードプリンタ ソフトウェアの削除", L"ソフト"},
    {L"installC.INF", L"Sample Card Printer Software", L"示例卡片打印机", L"卡片工具", L"自述文件", L"卸载示例卡片打印机软件",
     L"驱动程序"},
};

}  // namespace wizard_testing
