// The message catalogue as install must carry it, by number, in every language.
#include "expected_catalogue.h"

#include <cstring>

const std::vector<CatalogueText>& Catalogue()
{
    static const std::vector<CatalogueText> kCatalogue = {
        {1,
         L"Damaged file, or NO Information file.",
         L"設定ファイルが壊れているか、または見つかりません。",
         L"文件已毁坏，或丢失。"},
        {2,
         L"The uninstall entry already used by '%s'. Please uninstall it.",
         L"アンインストール項目が、他のアプリケーションで使われています。\n%s をアンインストールしてください。",
         L"卸载项已被'%s'使用。请将其卸载。"},
        {5,
         L"Unable to create a folder, %s, because it already exists.",
         L"%s - 同じ名前のファイルが既に存在するのでフォルダが作成できません。",
         L"%s – 无法创建文件夹，同名文件已经存在。"},
        {6,
         L"Failed in creating a folder, %s.",
         L"%s のフォルダ作成に失敗しました。",
         L"%s文件夹创建失败。"},
        {7,
         L"Assign a destination folder for %s :",
         L"%sのインストール先を指定してください：",
         L"请指定%s的目标文件夹。："},
        {8,
         L"Installation of %s",
         L"%sのインストール",
         L"%s的安装"},
        {9,
         L"Use <%s> in the menu for the uninstallation.",
         L"このソフトを削除するにはメニューの「%s」を使ってください。",
         L"请使用菜单中的<%s> 删除。"},
        {11,
         L"Unable to install in the route directory.",
         L"ルートディレクトリにはインストールできません。",
         L"无法安装到根目录里。"},
        {12,
         L"Assign a correct drive and path, e.g. C:\\Soft\\.",
         L"「C:\\Soft\\」のように、ドライブ名も含めた正しいパス名を指定してください。",
         L"请指定如C:\\Soft\\.般，包含盘符的正确路径名称。"},
        {14,
         L"Free space of the assigned drive is %u MB.  Do you continue the installation?",
         L"指定されたドライブの残り容量が %uメガバイトしかありません。かまわずにインストールしますか？",
         L"您所指定的驱动器剩余容量只有%u MB。是否继续安装？"},
        {18,
         L"%s is in use so that overwriting cannot be executed.",
         L"%s は他で使用中のため上書きできません。",
         L"%s 正在使用中不能覆盖。"},
        {19,
         L"%s is already exists.\nDo you overwrite the existing file?\n\n Copy To   : %s\n Copy From : %s",
         L"%s は既に存在します。\n既存ファイルに上書きしますか？\n\n コピー先： %s\n コピー元： %s",
         L"%s 已存在。\n是否覆盖原文件？\n\n 复制到: %s\n 复制于 : %s"},
        {20,
         L"Confirmation",
         L"上書き確認",
         L"确认覆盖"},
        {21,
         L"Failed in copying %s",
         L"%s のコピーに失敗しました。",
         L"%s 的复制失败。"},
        {22,
         L"Installation succeeded.  Press <Finish> for completion.",
         L"インストールが完了しました。「完了」を押すと終了します。",
         L"安装完成。按[结束]完成安装。"},
        {24,
         L"Failed in uninstalling %s.  Continue the process without uninstalling the file.",
         L"%s の削除に失敗しました。このファイルをスキップして処理を続行します。",
         L"%s的删除失败。放弃删除程序继续运行。"},
        {25,
         L"Do you uninstall %s?",
         L"%s - このファイルを削除してもいいですか？",
         L"是否删除%s?"},
        {26,
         L"Failed in deleting the folder, %s.",
         L"%s - ディレクトリの削除に失敗しました。",
         L"%s –目录删除失败。"},
        {27,
         L"Found abnormal Reg section.",
         L"Regセクションがおかしいです。",
         L"Reg单元发现异常。"},
        {28,
         L"Failed in uninstalling %s.  Try again the uninstallation, after closing %s.",
         L"%s の削除に失敗しました。%sを終了して、もう一度アンインストールをやり直してください。",
         L"%s的删除失败。关闭%s后再尝试卸载。"},
        {29,
         L"Uninstallation of %s",
         L"%sの削除",
         L"删除%s"},
        {30,
         L"%s has been successfully uninstalled.",
         L"%sは正常に削除されました。",
         L"%s已被成功删除。"},
        {31,
         L"Some file in %s.  Uninstall them later.",
         L"%s にはまだファイルが残っています。後で削除してください。",
         L"%s中尚有残留文件，请稍后再删除。"},
        {32,
         L"%s will be uninstalled.",
         L"%sを削除します。",
         L"%s将被删除。"},
        {33,
         L"  If resident applications still exist, close them and then press <OK> button.",
         L"まだ常駐している場合は、今すぐ終了させてからOKボタンを押してください。",
         L"如果驻留仍存在，请关闭后再按<OK> 键。"},
        {34,
         L"Failed in executing the uninstallation program.  Uninstall unnecessary files manually.",
         L"アンインストール用プログラムの起動に失敗しました。手動で削除してください。",
         L"卸载程序启动失败。请以手动删除多余的文件。"},
        {35,
         L"Installation has been completed.",
         L"インストールが完了しました。",
         L"安装完成。"},
        {36,
         L"Installation was interrupted.",
         L"インストールは中断されました。",
         L"安装被中断。"},
        {37,
         L"E.INF",
         L"J.INF",
         L"C.INF"},
        {38,
         L"Can't run on Windows 4.X. Needs Windows 2000 or later",
         L"Windows 4.X では実行できません。Windows 2000 以降が必要です。",
         L"无法在Windows 3.X 下执行。需要Windows 2000 或更高版本。"},
    };
    return kCatalogue;
}

const wchar_t* ExpectedText(UINT id, Language language)
{
    for (const CatalogueText& entry : Catalogue()) {
        if (entry.id == id)
            return entry.text[language];
    }
    return nullptr;
}

bool LanguageOfThisRun(Language* language)
{
    char name[8] = {};
    DWORD length = GetEnvironmentVariableA("INSTALL_TEST_LANGUAGE", name, sizeof name);
    for (int candidate = English; length > 0 && length < sizeof name && candidate < kLanguageCount; ++candidate) {
        if (std::strcmp(name, InfoOf(static_cast<Language>(candidate)).name) == 0) {
            *language = static_cast<Language>(candidate);
            return true;
        }
    }
    return false;
}
