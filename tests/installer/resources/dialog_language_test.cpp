// install's dialog templates as the dialog manager builds them in the
// language of this run: every control exists and the texts are that language's.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "expected_catalogue.h"
#include "resource_ids.h"

namespace {

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// A dialog made from one of install's templates, inside a hidden parent
// window because the wizard pages are child templates.
class BuiltDialog {
public:
    explicit BuiltDialog(WORD templateId)
        : parent_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 400,
                                  nullptr, nullptr, nullptr, nullptr)),
          dialog_(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent_,
                                     PassiveDialogProc, 0))
    {
    }
    BuiltDialog(const BuiltDialog&) = delete;
    BuiltDialog& operator=(const BuiltDialog&) = delete;
    ~BuiltDialog()
    {
        if (dialog_)
            DestroyWindow(dialog_);
        if (parent_)
            DestroyWindow(parent_);
    }
    HWND Handle() const { return dialog_; }

    std::wstring Text(int id) const
    {
        wchar_t text[512] = {};
        GetDlgItemTextW(dialog_, id, text, 512);
        return text;
    }
    std::wstring ClassOf(int id) const
    {
        wchar_t name[64] = {};
        GetClassNameW(GetDlgItem(dialog_, id), name, 64);
        return name;
    }

private:
    HWND parent_;
    HWND dialog_;
};

// The icon shown by the first static control with the icon style.
HICON FirstIcon(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
    return nullptr;
}

class DialogLanguageTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LanguageOfThisRun(&language_)) << "INSTALL_TEST_LANGUAGE must be en, ja or zh";
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
    }

    const wchar_t* In(const wchar_t* english, const wchar_t* japanese, const wchar_t* chinese) const
    {
        const wchar_t* texts[kLanguageCount] = {english, japanese, chinese};
        return texts[language_];
    }

    Language language_ = English;
};

TEST_F(DialogLanguageTest, DestinationPage)
{
    BuiltDialog page(IDD_DESTINATION_PAGE);
    ASSERT_NE(nullptr, page.Handle());
    EXPECT_EQ(L"", page.Text(IDC_DESTINATION_PROMPT));
    EXPECT_EQ(L"Edit", page.ClassOf(IDC_DESTINATION_FOLDER));
    EXPECT_EQ(In(L"&Browse...", L"参照(&B)...", L"浏览(&B)..."), page.Text(IDC_BROWSE));
    EXPECT_NE(nullptr, FirstIcon(page.Handle())) << "caution icon not found";
}

TEST_F(DialogLanguageTest, MenuOptionsPage)
{
    BuiltDialog page(IDD_MENU_OPTIONS_PAGE);
    ASSERT_NE(nullptr, page.Handle());
    EXPECT_EQ(In(L"Register for start menu.", L"スタートメニューに登録する", L"为开始菜单注册"),
              page.Text(IDC_START_MENU));
    EXPECT_EQ(In(L"Make a shortcut icon on desktop.", L"デスクトップにショートカットを作成する",
                 L"在桌面上创建快捷键"),
              page.Text(IDC_DESKTOP_ICON));
    EXPECT_EQ(L"ComboBox", page.ClassOf(IDC_GROUP_FOLDER));
    EXPECT_NE(nullptr, FirstIcon(page.Handle()));
}

TEST_F(DialogLanguageTest, ProgressPage)
{
    BuiltDialog page(IDD_PROGRESS_PAGE);
    ASSERT_NE(nullptr, page.Handle()) << "a control class is missing";
    EXPECT_EQ(In(L"Copying ...", L"ファイルをコピーしています...", L"正在复制文件..."), page.Text(IDC_INSTALL_STATUS));
    EXPECT_EQ(0, lstrcmpiW(PROGRESS_CLASSW, page.ClassOf(IDC_PROGRESS).c_str()));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page.Handle(), IDC_UNINSTALL_HINT)));
    EXPECT_NE(nullptr, FirstIcon(page.Handle()));
}

TEST_F(DialogLanguageTest, UninstallDialog)
{
    BuiltDialog dialog(IDD_UNINSTALL);
    ASSERT_NE(nullptr, dialog.Handle());
    EXPECT_EQ(In(L"Uninstalling ...", L"削除しています...", L"删除..."), dialog.Text(IDC_UNINSTALL_STATUS));
    EXPECT_EQ(In(L"Finish", L"終了", L"退出"), dialog.Text(IDCANCEL));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.Handle(), IDCANCEL)));
    EXPECT_EQ(L"", dialog.Text(0)) << "the caption is set at run time";
    EXPECT_NE(nullptr, FirstIcon(dialog.Handle()));
}

}  // namespace
