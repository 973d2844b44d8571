// Reads the resources back from the built install.exe, as Windows would find
// them, and compares them with what the program needs in each language.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "expected_catalogue.h"

namespace {

// The executable's resources, mapped as data: nothing of it runs.
class ResourceFile {
public:
    ResourceFile()
        : module_(LoadLibraryExW(INSTALL_EXE, nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE))
    {
    }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;
    ~ResourceFile()
    {
        if (module_)
            FreeLibrary(module_);
    }

    HMODULE Module() const { return module_; }

    // The bytes of one resource; false when it is absent.
    bool Find(LPCWSTR type, LPCWSTR name, LANGID language, std::string* bytes) const
    {
        HRSRC resource = FindResourceExW(module_, type, name, language);
        if (!resource)
            return false;
        HGLOBAL loaded = LoadResource(module_, resource);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (!data)
            return false;
        bytes->assign(static_cast<const char*>(data), SizeofResource(module_, resource));
        return true;
    }

    std::set<LANGID> LanguagesOf(LPCWSTR type, LPCWSTR name) const
    {
        std::set<LANGID> languages;
        EnumResourceLanguagesW(module_, type, name, AddLanguage, reinterpret_cast<LONG_PTR>(&languages));
        return languages;
    }

    // Numeric names of every resource of a type, in the order the file keeps them.
    std::vector<WORD> NamesOf(LPCWSTR type) const
    {
        std::vector<WORD> names;
        EnumResourceNamesW(module_, type, AddName, reinterpret_cast<LONG_PTR>(&names));
        return names;
    }

private:
    static BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR set)
    {
        reinterpret_cast<std::set<LANGID>*>(set)->insert(language);
        return TRUE;
    }

    static BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list)
    {
        reinterpret_cast<std::vector<WORD>*>(list)->push_back(
            IS_INTRESOURCE(name) ? LOWORD(reinterpret_cast<ULONG_PTR>(name)) : 0);
        return TRUE;
    }

    HMODULE module_;
};

const std::set<LANGID> kAllLanguages = {0x0409, 0x0411, 0x0804};

LPCWSTR Ordinal(WORD id)
{
    return MAKEINTRESOURCEW(id);
}

// The 16 strings of the string block that holds id: each a length and that many characters.
bool ReadStringBlock(const ResourceFile& file, UINT id, LANGID language, std::vector<std::wstring>* strings)
{
    std::string bytes;
    if (!file.Find(RT_STRING, Ordinal(static_cast<WORD>(id / 16 + 1)), language, &bytes))
        return false;
    std::wstring block(bytes.size() / sizeof(WCHAR), L'\0');
    CopyMemory(&block[0], bytes.data(), block.size() * sizeof(WCHAR));
    strings->clear();
    size_t at = 0;
    for (int i = 0; i < 16; ++i) {
        if (at >= block.size())
            return false;
        size_t length = block[at++];
        if (length > block.size() - at)
            return false;
        strings->push_back(block.substr(at, length));
        at += length;
    }
    return true;
}

class ResourceFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, file_.Module()) << "cannot map " << INSTALL_EXE; }

    ResourceFile file_;
};

TEST_F(ResourceFileTest, CatalogueHoldsEveryTextInEveryLanguage)
{
    for (int language = English; language < kLanguageCount; ++language) {
        const LanguageInfo& info = InfoOf(static_cast<Language>(language));
        for (const CatalogueText& entry : Catalogue()) {
            std::vector<std::wstring> block;
            ASSERT_TRUE(ReadStringBlock(file_, entry.id, info.id, &block)) << info.name << " " << entry.id;
            EXPECT_EQ(entry.text[language], block[entry.id % 16]) << info.name << " " << entry.id;
        }
    }
}

TEST_F(ResourceFileTest, CatalogueHoldsNothingElse)
{
    // Identifiers 0-47 live in blocks 1-3; each block exists in the three languages only.
    EXPECT_EQ((std::vector<WORD>{1, 2, 3}), file_.NamesOf(RT_STRING));
    for (WORD block = 1; block <= 3; ++block)
        EXPECT_EQ(kAllLanguages, file_.LanguagesOf(RT_STRING, Ordinal(block))) << "block " << block;

    for (int language = English; language < kLanguageCount; ++language) {
        const LanguageInfo& info = InfoOf(static_cast<Language>(language));
        for (UINT id = 0; id < 48; ++id) {
            if (ExpectedText(id, English))
                continue;
            std::vector<std::wstring> block;
            ASSERT_TRUE(ReadStringBlock(file_, id, info.id, &block));
            EXPECT_EQ(L"", block[id % 16]) << info.name << " holds identifier " << id;
        }
    }
}

enum class Kind { Static, Icon, Edit, PushButton, DefaultPushButton, AutoCheckBox, ComboBox, ProgressBar };
enum ControlState { kHidden = 1, kDisabled = 2 };
const DWORD kNoId = 0xFFFFFFFF;

struct Box {
    short x, y, cx, cy;
};

struct ExpectedControl {
    Kind kind;
    DWORD id;
    WORD icon;   // the icon group a Kind::Icon shows
    int state;   // ControlState bits
    Box box[kLanguageCount];
    const wchar_t* text[kLanguageCount];
};

struct ExpectedDialog {
    WORD id;
    bool page;  // a property-page child, else a modal pop-up
    struct {
        short cx, cy;
    } size[kLanguageCount];
    std::vector<ExpectedControl> controls;
};

const ExpectedDialog kDialogs[] = {
    {100, true, {{279, 87}, {274, 100}, {322, 99}},
     {
        {Kind::Static, kNoId, 0, 0,
         {{80, 50, 135, 30}, {70, 55, 130, 30}, {78, 54, 156, 30}},
         {L"Exit all software that are currently running. Then, press <Next> button.", L"実行中のソフトウェアがある場合は、終了してください。それから「次へ」を押してください。", L"退出所有正在运行的软件。然后按[下一步]按钮。"}},
        {Kind::Static, 1000, 0, 0,
         {{15, 10, 245, 10}, {15, 10, 245, 10}, {18, 12, 282, 12}},
         {L"", L"", L""}},
        {Kind::Edit, 1001, 0, 0,
         {{15, 25, 195, 12}, {15, 25, 195, 12}, {18, 30, 222, 12}},
         {L"", L"", L""}},
        {Kind::PushButton, 1002, 0, 0,
         {{220, 25, 40, 15}, {220, 25, 40, 15}, {252, 30, 48, 18}},
         {L"&Browse...", L"参照(&B)...", L"浏览(&B)..."}},
        {Kind::Static, kNoId, 0, 0,
         {{45, 50, 34, 10}, {45, 55, 21, 10}, {48, 54, 29, 12}},
         {L"Caution :", L"注意：", L"注意："}},
        {Kind::Icon, kNoId, 114, 0,
         {{15, 60, 20, 20}, {15, 70, 20, 20}, {18, 66, 20, 20}},
         {L"", L"", L""}},
     }},
    {110, true, {{279, 87}, {274, 100}, {322, 99}},
     {
        {Kind::AutoCheckBox, 1007, 0, 0,
         {{15, 15, 89, 10}, {15, 15, 99, 10}, {18, 18, 83, 12}},
         {L"Register for start menu.", L"スタートメニューに登録する", L"为开始菜单注册"}},
        {Kind::AutoCheckBox, 1006, 0, 0,
         {{15, 35, 245, 10}, {15, 35, 245, 10}, {18, 42, 282, 12}},
         {L"Make a shortcut icon on desktop.", L"デスクトップにショートカットを作成する", L"在桌面上创建快捷键"}},
        {Kind::Icon, kNoId, 114, 0,
         {{15, 60, 18, 17}, {15, 70, 20, 20}, {18, 66, 20, 20}},
         {L"", L"", L""}},
        {Kind::ComboBox, 1004, 0, 0,
         {{105, 13, 155, 76}, {115, 13, 145, 76}, {102, 18, 198, 76}},
         {L"", L"", L""}},
     }},
    {105, true, {{279, 87}, {274, 100}, {322, 99}},
     {
        {Kind::Static, 1008, 0, 0,
         {{15, 10, 245, 10}, {15, 10, 245, 10}, {18, 12, 282, 12}},
         {L"Copying ...", L"ファイルをコピーしています...", L"正在复制文件..."}},
        {Kind::ProgressBar, 1004, 0, 0,
         {{20, 30, 240, 13}, {20, 30, 235, 14}, {24, 30, 270, 12}},
         {L"", L"", L""}},
        {Kind::Static, 1010, 0, kHidden,
         {{50, 55, 190, 25}, {50, 60, 195, 30}, {60, 60, 228, 30}},
         {L"Use [Programs and Features] in [Control Panel] for the uninstallation.", L"このソフトウェアを削除するには、コントロールパネルの「プログラムと機能」を使ってください。", L"请使用[控制面板]内的[程序和功能]删除。"}},
        {Kind::Icon, kNoId, 114, 0,
         {{15, 60, 18, 17}, {15, 70, 20, 20}, {18, 66, 20, 20}},
         {L"", L"", L""}},
     }},
    {102, false, {{199, 70}, {199, 80}, {232, 79}},
     {
        {Kind::Static, 1009, 0, 0,
         {{15, 15, 170, 20}, {15, 15, 170, 25}, {18, 12, 198, 30}},
         {L"Uninstalling ...", L"削除しています...", L"删除..."}},
        {Kind::DefaultPushButton, 2, 0, kDisabled,
         {{75, 45, 50, 15}, {75, 50, 50, 15}, {90, 48, 50, 15}},
         {L"Finish", L"終了", L"退出"}},
        {Kind::Icon, kNoId, 113, 0,
         {{10, 45, 20, 20}, {10, 50, 18, 21}, {12, 48, 20, 20}},
         {L"", L"", L""}},
     }},
};

struct ExpectedFont {
    const wchar_t* typeface;
    BYTE charset;
};
const ExpectedFont kFonts[kLanguageCount] = {
    {L"Arial", DEFAULT_CHARSET},
    {L"ＭＳ Ｐゴシック", SHIFTJIS_CHARSET},
    {L"宋体", GB2312_CHARSET},
};

bool HasAll(DWORD style, DWORD bits)
{
    return (style & bits) == bits;
}

// Window class names are compared without regard to case.
bool IsClass(const DialogControl& control, const wchar_t* name)
{
    return lstrcmpiW(control.className.c_str(), name) == 0;
}

void ExpectKind(const DialogControl& control, const ExpectedControl& expected)
{
    const DWORD style = control.style;
    switch (expected.kind) {
    case Kind::Static:
        EXPECT_TRUE(IsClass(control, L"static")) << control.className;
        EXPECT_EQ(DWORD{SS_LEFT}, style & SS_TYPEMASK);
        break;
    case Kind::Icon:
        EXPECT_TRUE(IsClass(control, L"static")) << control.className;
        EXPECT_EQ(DWORD{SS_ICON}, style & SS_TYPEMASK);
        EXPECT_EQ(expected.icon, control.text.ordinal);
        break;
    case Kind::Edit:
        EXPECT_TRUE(IsClass(control, L"edit")) << control.className;
        EXPECT_TRUE(HasAll(style, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL)) << std::hex << style;
        break;
    case Kind::PushButton:
        EXPECT_TRUE(IsClass(control, L"button")) << control.className;
        EXPECT_EQ(DWORD{BS_PUSHBUTTON}, style & BS_TYPEMASK);
        EXPECT_TRUE(HasAll(style, WS_TABSTOP));
        break;
    case Kind::DefaultPushButton:
        EXPECT_TRUE(IsClass(control, L"button")) << control.className;
        EXPECT_EQ(DWORD{BS_DEFPUSHBUTTON}, style & BS_TYPEMASK);
        EXPECT_TRUE(HasAll(style, WS_TABSTOP));
        break;
    case Kind::AutoCheckBox:
        EXPECT_TRUE(IsClass(control, L"button")) << control.className;
        EXPECT_EQ(DWORD{BS_AUTOCHECKBOX}, style & BS_TYPEMASK);
        EXPECT_TRUE(HasAll(style, WS_TABSTOP));
        break;
    case Kind::ComboBox:
        EXPECT_TRUE(IsClass(control, L"combobox")) << control.className;
        EXPECT_EQ(DWORD{CBS_DROPDOWN}, style & 3);
        EXPECT_TRUE(HasAll(style, CBS_SORT | WS_VSCROLL | CBS_AUTOHSCROLL | WS_TABSTOP)) << std::hex << style;
        break;
    case Kind::ProgressBar:
        EXPECT_TRUE(IsClass(control, L"msctls_progress32")) << control.className;
        EXPECT_TRUE(HasAll(style, WS_BORDER));
        break;
    }
    EXPECT_TRUE(HasAll(style, WS_CHILD));
    EXPECT_EQ((expected.state & kHidden) == 0, HasAll(style, WS_VISIBLE));
    EXPECT_EQ((expected.state & kDisabled) != 0, HasAll(style, WS_DISABLED));
}

void ExpectDialog(const DialogTemplate& dialog, const ExpectedDialog& expected, int language)
{
    EXPECT_EQ(expected.size[language].cx, dialog.cx);
    EXPECT_EQ(expected.size[language].cy, dialog.cy);
    EXPECT_EQ(L"", dialog.caption);
    EXPECT_EQ(0, dialog.menu.ordinal + dialog.menu.name.size());
    EXPECT_EQ(9, dialog.pointSize);
    EXPECT_EQ(kFonts[language].typeface, dialog.typeface);
    EXPECT_EQ(kFonts[language].charset, dialog.charset);
    EXPECT_EQ(0, dialog.italic);
    if (expected.page) {
        EXPECT_TRUE(HasAll(dialog.style, WS_CHILD | DS_CONTROL)) << std::hex << dialog.style;
        EXPECT_EQ(0u, dialog.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU));
    } else {
        EXPECT_TRUE(HasAll(dialog.style, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME))
            << std::hex << dialog.style;
        EXPECT_EQ(0u, dialog.style & WS_CHILD);
    }

    ASSERT_EQ(expected.controls.size(), dialog.controls.size());
    for (size_t i = 0; i < expected.controls.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        const ExpectedControl& want = expected.controls[i];
        const DialogControl& control = dialog.controls[i];
        EXPECT_EQ(want.id, control.id);
        const Box& box = want.box[language];
        EXPECT_EQ(box.x, control.x);
        EXPECT_EQ(box.y, control.y);
        EXPECT_EQ(box.cx, control.cx);
        EXPECT_EQ(box.cy, control.cy);
        if (want.kind != Kind::Icon)
            EXPECT_EQ(want.text[language], control.text.name);
        ExpectKind(control, want);
    }
}

TEST_F(ResourceFileTest, DialogTemplatesMatchInEveryLanguage)
{
    EXPECT_EQ((std::vector<WORD>{100, 102, 105, 110}), file_.NamesOf(RT_DIALOG));
    for (const ExpectedDialog& expected : kDialogs) {
        EXPECT_EQ(kAllLanguages, file_.LanguagesOf(RT_DIALOG, Ordinal(expected.id))) << expected.id;
        for (int language = English; language < kLanguageCount; ++language) {
            const LanguageInfo& info = InfoOf(static_cast<Language>(language));
            SCOPED_TRACE(std::string("dialog ") + std::to_string(expected.id) + " " + info.name);
            std::string bytes;
            ASSERT_TRUE(file_.Find(RT_DIALOG, Ordinal(expected.id), info.id, &bytes));
            DialogTemplate dialog;
            std::string error;
            ASSERT_TRUE(ParseDialogTemplate(bytes.data(), static_cast<DWORD>(bytes.size()), &dialog, &error))
                << error;
            ExpectDialog(dialog, expected, language);
        }
    }
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ResourceFileTest, IconGroupsHoldOne32x32SixteenColourImage)
{
    // The first group is the one the shell shows for the program.
    EXPECT_EQ((std::vector<WORD>{112, 113, 114}), file_.NamesOf(RT_GROUP_ICON));
    for (WORD group : {112, 113, 114}) {
        SCOPED_TRACE("icon group " + std::to_string(group));
        std::string bytes;
        ASSERT_TRUE(file_.Find(RT_GROUP_ICON, Ordinal(group), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &bytes));
        ASSERT_EQ(6 + sizeof(GroupIconEntry), bytes.size());
        WORD header[3];
        CopyMemory(header, bytes.data(), sizeof header);
        EXPECT_EQ(0, header[0]);
        EXPECT_EQ(1, header[1]);  // icons
        EXPECT_EQ(1, header[2]);  // one image
        GroupIconEntry entry;
        CopyMemory(&entry, bytes.data() + 6, sizeof entry);
        EXPECT_EQ(32, entry.width);
        EXPECT_EQ(32, entry.height);
        EXPECT_EQ(16, entry.colorCount);
        EXPECT_EQ(4, entry.bitCount);

        std::string image;
        ASSERT_TRUE(file_.Find(RT_ICON, Ordinal(entry.id), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &image));
        ASSERT_EQ(entry.bytesInRes, image.size());
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header2;
        CopyMemory(&header2, image.data(), sizeof header2);
        EXPECT_EQ(32, header2.biWidth);
        EXPECT_EQ(64, header2.biHeight);  // colour rows and mask rows
        EXPECT_EQ(4, header2.biBitCount);

        HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(&image[0]), static_cast<DWORD>(image.size()),
                                              TRUE, 0x00030000, 32, 32, LR_DEFAULTCOLOR);
        EXPECT_NE(nullptr, icon) << "the image is not a usable icon";
        if (icon)
            DestroyIcon(icon);
    }
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* table, const wchar_t* name)
{
    std::wstring path = std::wstring(L"\\StringFileInfo\\") + table + L"\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value)
        return L"<absent>";
    return static_cast<const wchar_t*>(value);
}

TEST_F(ResourceFileTest, VersionBlockNamesTheRelease)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(INSTALL_EXE, &handle);
    ASSERT_NE(0u, size);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(INSTALL_EXE, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(23, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(0, 90), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(23, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(0, 90), fixed->dwProductVersionLS);

    // The translation table lists Japanese with UTF-16 only.
    DWORD* translations = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translations), &length));
    ASSERT_EQ(sizeof(DWORD), length);
    EXPECT_EQ(0x0411, LOWORD(translations[0]));
    EXPECT_EQ(0x04b0, HIWORD(translations[0]));

    for (const wchar_t* table : {L"040904b0", L"041104b0"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(L"for Windows 2000/XP/Vista/7/8/8.1/10", VersionString(block, table, L"Comments"));
        EXPECT_EQ(L"1.23.90.0", VersionString(block, table, L"FileVersion"));
        EXPECT_EQ(L"1.23.90.0", VersionString(block, table, L"ProductVersion"));
        EXPECT_EQ(L"install.exe", VersionString(block, table, L"OriginalFilename"));
        for (const wchar_t* name : {L"InternalName", L"LegalCopyright", L"ProductName"}) {
            std::wstring value = VersionString(block, table, name);
            EXPECT_NE(L"<absent>", value) << name;
            EXPECT_NE(L"", value) << name;
        }
    }
    EXPECT_EQ(L"<absent>", VersionString(block, L"080404b0", L"FileVersion"));
    EXPECT_EQ(L"The application installer and uninstaller.",
              VersionString(block, L"040904b0", L"FileDescription"));
    std::wstring japanese = VersionString(block, L"041104b0", L"FileDescription");
    EXPECT_NE(std::wstring::npos, japanese.find(L"インストーラ")) << "not a Japanese description";
    EXPECT_NE(std::wstring::npos, japanese.find(L"アンインストーラ")) << "not a Japanese description";
}

// Text of the element that starts with open, up to the end of its start tag.
std::string StartTag(const std::string& text, const std::string& open)
{
    size_t start = text.find(open);
    if (start == std::string::npos)
        return "";
    size_t end = text.find('>', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
}

TEST_F(ResourceFileTest, ManifestAsksForAdministratorAndKeepsClassicControls)
{
    EXPECT_EQ(std::set<LANGID>{MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)},
              file_.LanguagesOf(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID));
    std::string manifest;
    ASSERT_TRUE(file_.Find(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID,
                           MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &manifest));

    std::string level = StartTag(manifest, "<requestedExecutionLevel");
    EXPECT_NE(std::string::npos, level.find("level=\"requireAdministrator\"")) << level;
    EXPECT_NE(std::string::npos, level.find("uiAccess=\"false\"")) << level;

    std::string identity = StartTag(manifest, "<assemblyIdentity");
    EXPECT_NE(std::string::npos, identity.find("name=\"Install\"")) << identity;
    EXPECT_NE(std::string::npos, identity.find("version=\"1.23.90.0\"")) << identity;
    EXPECT_NE(std::string::npos, identity.find("processorArchitecture=\"x86\"")) << identity;
    EXPECT_NE(std::string::npos, manifest.find("<description>Card Printer Driver Installer</description>"));

    for (const char* id : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(std::string::npos, StartTag(manifest, std::string("<supportedOS Id=\"") + id).find(id)) << id;
    }
    EXPECT_EQ(std::string::npos, manifest.find("Common-Controls"));
    EXPECT_EQ(std::string::npos, manifest.find("<dependency"));
}

TEST_F(ResourceFileTest, ManifestIsAcceptedByTheLoader)
{
    // A manifest the platform cannot read keeps the program from starting at all.
    ACTCTXW context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = INSTALL_EXE;
    context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE activation = CreateActCtxW(&context);
    ASSERT_NE(INVALID_HANDLE_VALUE, activation) << "error " << GetLastError();
    ReleaseActCtx(activation);
}

}  // namespace
