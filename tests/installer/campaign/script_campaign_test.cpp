// Generated install scripts through the settings load, the entry and
// shortcut resolvers and the [Reg] removal, in the code page of the run
// (1252, 932 or 936): no crash or hang, every string inside its buffer, the
// install and menu folders where the script's forms put them, an install
// folder that the destination page accepts never a root or a shared folder,
// every target and shortcut link inside the folder it was given for (or one
// of the script's own absolute paths), or refused; no registry key removed
// outside the scratch keys. CAMPAIGN_CASE=<n> runs script n alone and shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "case_watch.h"
#include "globals.h"
#include "install_entries.h"
#include "install_settings.h"
#include "messages.h"
#include "path_helpers.h"
#include "registry_removal.h"
#include "script_generator.h"
#include "scratch_registry.h"
#include "seeded_random.h"
#include "settings_fixture.h"
#include "install_folder_check.h"
#include "shortcut_item.h"
#include "shortcuts.h"
#include "target_checks.h"
#include "test_files.h"

using namespace campaign;
using installer_testing::Ansi;
using installer_testing::Wide;

namespace {

// Scripts per code page in a normal run; the three runs make more than 2,000.
const int kCasesPerCodePage = 700;

const wchar_t kCurrentVersion[] = L"Microsoft\\Windows\\CurrentVersion";
const wchar_t kUninstall[] = L"Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kShellFolders[] = L"Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A script takes well under a second; two minutes is a hang even on a busy machine.
const DWORD kCaseLimitMs = 120000;

std::string ReadValue(const char* section, const char* key)
{
    char value[kPathSize];
    GetPrivateProfileStringA(section, key, "", value, kPathSize, g_scriptPath);
    return value;
}

std::string Key(int n)
{
    return std::to_string(n);
}

std::string TextBefore(const std::string& text, const char* placeholder)
{
    return text.substr(0, text.find(placeholder));
}

std::string Lower(std::wstring text)
{
    CharLowerW(&text[0]);
    return Ansi(text);
}

// The key paths a [Reg] line may remove (with everything below them): a
// root name in exact case, a separator, and a key path that neither is empty
// nor starts with a separator.
struct RegLineTarget {
    int root = -1;
    std::vector<std::wstring> components;  // lower case, empty ones dropped
};

RegLineTarget TargetOfRegLine(const std::string& line)
{
    static const char* const kRoots[] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT"};
    RegLineTarget target;
    for (int i = 0; i < 3; ++i) {
        const std::string root = kRoots[i];
        if (line.compare(0, root.size(), root) != 0)
            continue;
        if (line.size() <= root.size() + 1 || (line[root.size()] != '\\' && line[root.size()] != '/') ||
            line[root.size() + 1] == '\\')
            return target;
        std::wstring path = Wide(line.substr(root.size() + 1).c_str());
        CharLowerW(&path[0]);
        target.root = i;
        for (size_t start = 0; start <= path.size();) {
            size_t end = path.find(L'\\', start);
            if (end == std::wstring::npos)
                end = path.size();
            if (end > start)
                target.components.push_back(path.substr(start, end - start));
            start = end + 1;
        }
        return target;
    }
    return target;
}

// Of the scratch keys, a package may have these removed: below
// HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE only Software\<vendor> of a vendor
// that is not Windows, below HKEY_CLASSES_ROOT no key of Windows (the GUID
// keys hold no GUIDs here).
bool IsPackageKey(const ScratchKey& key)
{
    std::wstring path = key.path;
    CharLowerW(&path[0]);
    if (key.root == 2) {
        for (const wchar_t* windows : {L"clsid", L"interface", L"*", L"directory", L"folder"}) {
            if (path == windows || path.compare(0, wcslen(windows) + 1, std::wstring(windows) + L"\\") == 0)
                return false;
        }
        return true;
    }
    for (const wchar_t* vendor : {L"software\\sample card printer", L"software\\other vendor"}) {
        if (path.compare(0, wcslen(vendor), vendor) == 0)
            return true;
    }
    return false;
}

bool IsAtOrBelow(const ScratchKey& key, const RegLineTarget& line)
{
    if (key.root != line.root || line.components.empty())
        return false;
    std::wstring path = key.path;
    CharLowerW(&path[0]);
    std::wstring prefix;
    for (const std::wstring& component : line.components)
        prefix += (prefix.empty() ? L"" : L"\\") + component;
    return path == prefix || path.compare(0, prefix.size() + 1, prefix + L"\\") == 0;
}

class ScriptCampaign : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleW(nullptr);
        g_hwndOwner = nullptr;
        char wanted[8] = "1252";
        GetEnvironmentVariableA("INSTALLER_TEST_CODE_PAGE", wanted, sizeof(wanted));
        codePage_ = GetACP();
        ASSERT_EQ(std::string(wanted), std::to_string(codePage_)) << "the run's locale did not take";
        windowsDir_ = WindowsDirectory();
        systemDir_ = SystemDirectory();
        desktop_ = Ansi(scripts_ / L"Desktop");
        personal_ = Ansi(scripts_ / L"Personal");
        ASSERT_TRUE(CreateDirectoryA(desktop_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(personal_.c_str(), nullptr));
        ASSERT_TRUE(SetShellFolders());
        damaged_ = GetText(IDS_DAMAGED_SCRIPT);
        entryUsed_ = TextBefore(GetText(IDS_UNINSTALL_ENTRY_USED), "%s");
        abnormalReg_ = GetText(IDS_ABNORMAL_REG_SECTION);
        ASSERT_TRUE(scratchRegistry_.Refill());
    }

    // The folders that the settings load and the shortcut code read, in the
    // scratch keys that stand in for the prefix's own.
    bool SetShellFolders()
    {
        const struct {
            bool machine;
            const char* name;
            std::string value;
        } folders[] = {
            {false, "Programs", "C:\\Menu\\Programs"}, {false, "Start Menu", "C:\\Menu"},
            {false, "Desktop", desktop_},              {false, "Personal", personal_},
            {true, "Common Programs", "C:\\All\\Programs"}, {true, "Common Start Menu", "C:\\All"},
        };
        bool set = true;
        for (const auto& folder : folders) {
            set = (folder.machine ? SetMachineSoftware(kShellFolders, folder.name, folder.value)
                                  : scratchRegistry_.SetSetting(false, std::wstring(L"Software\\") + kShellFolders,
                                                                folder.name, folder.value)) &&
                  set;
        }
        return set;
    }

    // HKEY_LOCAL_MACHINE\Software as a 64-bit and as a 32-bit program sees it.
    bool SetMachineSoftware(const std::wstring& key, const char* name, const std::string& value)
    {
        return scratchRegistry_.SetSetting(true, L"Software\\" + key, name, value) &&
               scratchRegistry_.SetSetting(true, L"Software\\Wow6432Node\\" + key, name, value);
    }

    // Runs generated script n and checks every property; false after the
    // first failure of this case.
    void RunCase(uint64_t n)
    {
        const std::string name = "generated script " + std::to_string(n) + " of code page " + std::to_string(codePage_);
        watch_.Begin(name.c_str(), "loading the settings");
        GeneratedScript script = GenerateScript(n, codePage_);
        PrepareCase(n, script);
        {
            ScratchRegistry::Redirect settings(scratchRegistry_, ScratchRegistry::SettingsRoots);
            ASSERT_TRUE(settings.Active());
            if (!LoadSettings()) {
                watch_.End();
                return;
            }
            CheckFoldersAreWhereTheFormsPutThem(script);
            watch_.Step("resolving the entries and shortcuts");
            CheckInstallEntries();
            for (int item = 0; item <= g_groupCount && !HasFailure(); ++item)
                CheckShortcutItem(item);
        }
        watch_.Step("checking the install folder and the link names");
        CheckAcceptedInstallFolder();
        CheckLinkNames();
        watch_.Step("removing the [Reg] keys");
        if (!ReadValue("Reg", "1").empty())
            CheckRegLines();
        watch_.End();
    }

    // Where the script's forms put the folders: the install folder is the
    // program-files folder, a separator and Folder (for a Folder that starts
    // with "\\", its drive or share and Folder), or the folder of the program
    // that a same-titled uninstall entry registers; the menu folder is the
    // Programs folder and Menu, the title or nothing, its Accessories and the
    // rest of an "a!" Menu, or the Start Menu and a Menu that starts with "\\",
    // of the user or of all users. Each ends in a separator; a folder that
    // did not fit is the first 259 bytes of it.
    void CheckFoldersAreWhereTheFormsPutThem(const GeneratedScript& script)
    {
        std::string folder = ReadValue("Install", "Folder");
        std::string menu = ReadValue("Install", "Menu");
        std::replace(folder.begin(), folder.end(), '/', '\\');
        std::replace(menu.begin(), menu.end(), '/', '\\');
        // A program-files value too long for its buffer is not read: the
        // Windows drive's "Program Files" stands in.
        const std::string files =
            script.programFilesDir.size() < kPathSize ? script.programFilesDir : windowsDir_.substr(0, 2) + "\\Program Files";
        std::string installDir = files;
        if (folder[0] == '\\') {
            const size_t share = files.find('\\', files.find('\\', 2) + 1);
            installDir = files[1] == ':' ? files.substr(0, 2) : files.compare(0, 2, "\\\\") == 0 ? files.substr(0, share) : "";
            installDir += folder;
        } else {
            installDir = Joined(installDir, folder);
        }
        const std::string registered = RegisteredCommand();
        const bool fromEntry = g_installDir[0] != '\0' && registered.compare(0, lstrlenA(g_installDir), g_installDir) == 0;
        EXPECT_TRUE(IsFormOf(g_installDir, Joined(installDir, "")) || fromEntry)
            << "install folder " << g_installDir << ", not " << Joined(installDir, "");
        Reached(fromEntry ? "install folder: the registered one" : "install folder: from the program files");

        const std::string base = g_commonMenu ? "C:\\All" : "C:\\Menu";
        const std::string start = menu[0] == '\\' ? base : base + "\\Programs";
        std::string menuDir = base + "\\Programs";
        if (menu[0] == '\\')
            menuDir = Joined(base, menu);
        else if (menu.compare(0, 2, "a!") == 0)
            menuDir = Joined(Joined(menuDir, "Accessories"), menu.substr(2));
        else if (!menu.empty() || g_groupCount > 0)
            menuDir = Joined(menuDir, menu.empty() ? std::string(g_title) : menu);
        // A group that would leave the folder its form starts from is the
        // title's group in that folder; either way it lies in that folder.
        const bool asWritten = IsFormOf(g_menuDir, menuDir);
        EXPECT_TRUE(asWritten || IsFormOf(g_menuDir, Joined(start, g_title)))
            << "menu folder " << g_menuDir << ", neither " << menuDir << " nor the title's group";
        EXPECT_TRUE(InFolderTree(g_menuDir, start))
            << "menu folder " << g_menuDir << " outside " << start;
        Reached(asWritten ? "menu folder: as written" : "menu folder: the title's group instead");
    }

    // folder, a separator unless folder ends in one, and name.
    static std::string Joined(const std::string& folder, const std::string& name)
    {
        const char* last = folder.empty() ? "" : CharPrevA(folder.c_str(), folder.c_str() + folder.size());
        const bool separated = *last == '\\' || *last == '/';
        return folder + (separated ? "" : "\\") + name;
    }

    // The folder as the product holds it: the whole, or its first 259 bytes.
    static bool IsFormOf(const std::string& held, const std::string& whole)
    {
        return held == whole || (held.size() == kPathSize - 1 && whole.compare(0, held.size(), held) == 0);
    }

    // The registered command of a same-titled uninstall entry of the script's
    // key as the settings load reads it, after its opening quote and blanks;
    // "" when there is none.
    std::string RegisteredCommand()
    {
        std::string value(4 * kPathSize, '\0');
        DWORD size = static_cast<DWORD>(value.size());
        const std::string key = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + g_installKey;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), "UninstallString", RRF_RT_REG_SZ, nullptr, &value[0], &size) !=
            ERROR_SUCCESS)
            return "";
        value.resize(lstrlenA(value.c_str()));
        value.erase(0, value.find_first_not_of(" \t"));
        return value.substr(!value.empty() && value[0] == '"');
    }

    // The folder as the destination page takes it; when the page accepts it,
    // it is neither a root nor a folder other software shares.
    void CheckAcceptedInstallFolder()
    {
        char folder[kPathSize];
        char full[kPathSize];
        lstrcpynA(folder, g_installDir, kPathSize);
        std::replace(folder, folder + lstrlenA(folder), '/', '\\');
        const bool rooted = PathAppend(folder, "") && FindRootEnd(folder);
        const DWORD length = rooted ? GetFullPathNameA(folder, kPathSize, full, nullptr) : 0;
        if (length == 0 || length >= kPathSize || !PathAppend(full, "") || CheckInstallFolder(full) != InstallFolderUsable) {
            Reached("install folder: refused by the destination page");
            return;
        }
        EXPECT_FALSE(sharedFolders_.IsRootOrShared(full)) << "the destination page accepts " << full;
        Reached("install folder: accepted by the destination page");
    }

    // Every link file that the shortcuts would write or delete lies in the
    // folder of its location and ends in ".lnk".
    void CheckLinkNames()
    {
        char menuFolder[kPathSize];
        char desktop[kPathSize];
        lstrcpynA(menuFolder, g_menuDir, kPathSize);
        lstrcpynA(desktop, desktop_.c_str(), kPathSize);
        if (!PathAppend(menuFolder, "") || !PathAppend(desktop, ""))
            return;
        for (int n = 0; n <= g_groupCount; ++n) {
            if (n > 0)
                ResolveGroupEntry(n);
            const std::string name = n == 0 ? g_title : g_entryName;
            for (const char* folder : {menuFolder, desktop}) {
                char link[kPathSize];
                if (!FormatLinkPath(link, folder, name.c_str())) {
                    Reached("link name refused");
                    continue;
                }
                char full[4 * kPathSize] = "";
                GetFullPathNameA(link, sizeof full, full, nullptr);
                const size_t size = lstrlenA(full);
                EXPECT_TRUE(InFolderTree(link, folder) && size > 4 && lstrcmpiA(full + size - 4, ".lnk") == 0)
                    << "link " << link << " of '" << name << "'";
                Reached("link name kept");
            }
        }
    }

    void PrepareCase(uint64_t n, const GeneratedScript& script)
    {
        ASSERT_TRUE(SetMachineSoftware(kCurrentVersion, "ProgramFilesDir", script.programFilesDir));
        const std::wstring path = scripts_ / (L"c" + std::to_wstring(n) + L".INF");
        ASSERT_TRUE(testing_support::WriteFileBytes(path, script.text));
        lstrcpynA(g_scriptPath, Ansi(path).c_str(), kPathSize);
        lstrcpynA(g_programName, script.programName.c_str(), kFileNameSize);
        lstrcpynA(g_scriptName, "install.INF", kFileNameSize);
        const std::wstring entryKey = std::wstring(kUninstall) + L"\\" + Wide(kCampaignInstallKey);
        scratchRegistry_.DeleteSettingKey(true, L"Software\\" + entryKey);
        scratchRegistry_.DeleteSettingKey(true, L"Software\\Wow6432Node\\" + entryKey);
        if (script.uninstallEntry != GeneratedScript::EntryNone) {
            char title[kTitleSize];
            GetPrivateProfileStringA("Install", "Title", "", title, kTitleSize, g_scriptPath);
            ASSERT_TRUE(SetMachineSoftware(entryKey, "DisplayName",
                                           script.uninstallEntry == GeneratedScript::EntrySameTitle ? title : "Another"));
            ASSERT_TRUE(SetMachineSoftware(entryKey, "UninstallString", script.registeredCommand));
        }
        // Unterminated contents show a string that the load left unset.
        for (char* buffer : {g_title, g_installKey, g_installDir, g_menuDir, g_entryName, g_entryTarget})
            std::memset(buffer, 'Z', buffer == g_title ? kTitleSize : kPathSize);
    }

    bool LoadSettings()
    {
        const size_t boxesBefore = answerer_.Count();
        const bool loaded = LoadInstallSettings();
        const std::vector<testing_support::MessageBoxSeen> seen = answerer_.Seen();
        const size_t boxes = seen.size() - boxesBefore;
        EXPECT_TRUE(TerminatedWithin(g_title, kTitleSize));
        EXPECT_TRUE(TerminatedWithin(g_installKey, kPathSize));
        EXPECT_GE(g_installCount, 0);
        EXPECT_GE(g_groupCount, 0);
        if (loaded) {
            EXPECT_EQ(0u, boxes);
            EXPECT_TRUE(TerminatedWithin(g_installDir, kPathSize));
            EXPECT_TRUE(TerminatedWithin(g_menuDir, kPathSize));
            Reached("load:ok");
            Reached(std::string("install folder ends in a separator: ") +
                    (lstrlenA(g_installDir) > 0 && (g_installDir[lstrlenA(g_installDir) - 1] == '\\') ? "yes" : "no"));
            return !HasFailure();
        }
        EXPECT_EQ(1u, boxes) << "a refused script says why";
        if (boxes == 1) {
            const std::string text = Ansi(seen.back().text);
            const bool known = text == damaged_ || text.compare(0, entryUsed_.size(), entryUsed_) == 0;
            EXPECT_TRUE(known) << text;
            Reached(text == damaged_ ? "load:message 1" : "load:message 2");
        }
        return false;
    }

    void CheckInstallEntries()
    {
        for (int n = -1; n <= g_installCount && !HasFailure(); ++n) {
            const bool result = ResolveInstallEntry(n);
            ASSERT_TRUE(TerminatedWithin(g_entryName, kPathSize));
            ASSERT_TRUE(TerminatedWithin(g_entryTarget, kPathSize));
            std::string value = n >= 1 ? ReadValue("Install", Key(n).c_str()) : "";
            // The first comma, found the way the product finds it.
            const char* comma = nullptr;
            for (const char* p = value.c_str(); *p; p = CharNextA(p)) {
                if (*p == ',') {
                    comma = p;
                    break;
                }
            }
            std::string target = comma ? comma + 1 : "";
            target.erase(0, target.find_first_not_of(" \t\n\v\f\r"));
            const char kind = target.size() >= 2 && target[1] == '!' ? static_cast<char>(target[0] | 0x20) : 0;
            const std::string folder = kind == 's' ? systemDir_ : kind == 'w' ? windowsDir_ : std::string(g_installDir);
            EXPECT_EQ(kind != 's', result) << "entry " << n << ": " << value;
            if (g_entryTarget[0] == '\0') {
                Reached(std::string("entry refused: ") + (kind ? kind : 'i'));
                continue;
            }
            EXPECT_TRUE(InFolderTree(g_entryTarget, folder))
                << "entry " << n << " '" << value << "' gives " << g_entryTarget << ", outside " << folder;
            Reached(std::string("entry in its folder: ") + (kind ? kind : 'i'));
        }
    }

    bool IsTitleTargetFolder(const std::string& path)
    {
        return InFolderTree(path, g_installDir) || InFolderTree(path, systemDir_) || InFolderTree(path, windowsDir_);
    }

    // folder, already made full by the product, is text made full (a full
    // path is not made full again: "C:\\COM1" would become a device name).
    static bool IsFullFormOf(const std::string& folder, const std::string& text)
    {
        char full[4 * MAX_PATH] = "";
        GetFullPathNameA(text.c_str(), sizeof full, full, nullptr);
        std::string x = folder, y = full;
        for (std::string* s : {&x, &y}) {
            if (s->size() > 3 && s->back() == '\\')
                s->pop_back();
        }
        return lstrcmpiA(x.c_str(), y.c_str()) == 0;
    }

    void CheckShortcutItem(int n)
    {
        const std::string value = n == 0 ? ReadValue("Install", "1") : ReadValue("Group", Key(n).c_str());
        ShortcutItem item;
        std::memset(&item, 'Z', sizeof item);
        ReadShortcutItem(n, &item);
        for (const char* field : {item.name, item.target, item.arguments})
            ASSERT_TRUE(TerminatedWithin(field, kPathSize)) << value;
        if (item.target[0] == '\0') {
            Reached(n == 0 ? "title shortcut refused" : "group shortcut refused");
        } else {
            EXPECT_TRUE(n == 0 ? IsTitleTargetFolder(item.target) : InFolderTree(item.target, g_installDir))
                << "shortcut " << n << " '" << value << "' points at " << item.target;
            Reached(n == 0 ? "title shortcut kept" : "group shortcut kept");
        }
        if (item.hasIcon) {
            ASSERT_TRUE(TerminatedWithin(item.iconFile, kPathSize)) << value;
            const std::string icon = item.iconFile;
            const bool explicitIcon = IsRootedPath(icon) && value.find(icon) != std::string::npos;
            EXPECT_TRUE(icon == item.target || explicitIcon || InFolderTree(icon, g_installDir))
                << "shortcut " << n << " '" << value << "' takes its icon from " << icon;
            Reached(icon == item.target ? "icon of the target" : explicitIcon ? "icon file as given" : "icon file below");
        }
        if (item.hasWorkingText) {
            ASSERT_TRUE(TerminatedWithin(item.workingText, kPathSize)) << value;
            CheckWorkingDirectory(item.workingText, value);
        }
    }

    void CheckWorkingDirectory(const std::string& text, const std::string& value)
    {
        char folder[kPathSize];
        std::memset(folder, 'Z', sizeof folder);
        ResolveWorkingDirectory(text.c_str(), folder);
        ASSERT_TRUE(TerminatedWithin(folder, kPathSize)) << value;
        const std::string result = folder;
        std::string what;
        // The product makes the folder full once; Wine makes "x\\...\\" full
        // as "x\\..", and that full again as the parent of x.
        if (result == g_installDir || IsFullFormOf(result, g_installDir))
            what = "working directory: the install folder";
        else if (InFolderTree(result, g_installDir))
            what = "working directory: below the install folder";
        else if (IsRootedPath(text) && (IsFullFormOf(result, text) || IsFullFormOf(result, RootOf(g_installDir) + text)))
            what = "working directory: as given";
        else if (text.size() >= 2 && text[1] == '!' &&
                 (InFolderTree(result, windowsDir_) || InFolderTree(result, desktop_) || InFolderTree(result, personal_)))
            what = "working directory: below a chosen folder";
        EXPECT_FALSE(what.empty()) << "segment '" << text << "' of '" << value << "' gives " << result;
        Reached(what);
    }

    static std::string RootOf(const std::string& path)
    {
        if (path.size() >= 2 && path[1] == ':')
            return path.substr(0, 2);
        size_t share = path.find('\\', 2);
        return path.compare(0, 2, "\\\\") == 0 && share != std::string::npos ? path.substr(0, path.find('\\', share + 1))
                                                                               : "";
    }

    void CheckRegLines()
    {
        if (scratchKeysRemoved_)
            ASSERT_TRUE(scratchRegistry_.Refill());
        std::vector<RegLineTarget> targets;
        size_t lines = 0;
        for (int n = 1;; ++n) {
            std::string line = ReadValue("Reg", Key(n).c_str());
            if (line.empty())
                break;
            ++lines;
            targets.push_back(TargetOfRegLine(line));
        }
        const size_t boxesBefore = answerer_.Count();
        {
            ScratchRegistry::Redirect redirect(scratchRegistry_, ScratchRegistry::RegRoots);
            ASSERT_TRUE(redirect.Active());
            RemoveScriptRegistryKeys();
        }
        const std::vector<testing_support::MessageBoxSeen> seen = answerer_.Seen();
        EXPECT_LE(seen.size() - boxesBefore, lines);
        for (size_t i = boxesBefore; i < seen.size(); ++i)
            EXPECT_EQ(abnormalReg_, Ansi(seen[i].text));
        if (seen.size() > boxesBefore)
            Reached("reg: message 27");
        EXPECT_EQ(L"", scratchRegistry_.MissingSentinel());
        const std::vector<ScratchKey> missing = scratchRegistry_.MissingKeys();
        scratchKeysRemoved_ = !missing.empty();
        for (const ScratchKey& key : missing) {
            bool named = false;
            for (const RegLineTarget& target : targets)
                named = named || IsAtOrBelow(key, target);
            EXPECT_TRUE(named) << "root " << key.root << " key " << Ansi(key.path) << " went, named by no line";
            EXPECT_TRUE(IsPackageKey(key)) << "root " << key.root << " key " << Ansi(key.path) << " is no package's";
            Reached("reg: removed " + std::to_string(key.root) + "\\" + Lower(key.path));
        }
    }

    void Reached(const std::string& outcome) { ++reached_[outcome]; }

    testing_support::CaseWatch watch_{kCaseLimitMs};
    SharedFolderList sharedFolders_;
    unsigned codePage_ = 0;
    std::string windowsDir_, systemDir_, desktop_, personal_;
    std::string damaged_, entryUsed_, abnormalReg_;
    testing_support::ScratchDir scripts_{L"campaign"};
    ScratchRegistry scratchRegistry_;
    bool scratchKeysRemoved_ = false;
    testing_support::BoxAnswerer answerer_{{}, IDOK, 1};
    std::map<std::string, int> reached_;
};

}  // namespace

TEST_F(ScriptCampaign, GeneratedScriptsKeepEveryTargetInItsFolder)
{
    if (const char* one = std::getenv("CAMPAIGN_CASE")) {
        const uint64_t n = std::strtoull(one, nullptr, 10);
        std::printf("generated script %llu of code page %u:\n%s\n", static_cast<unsigned long long>(n), codePage_,
                    GenerateScript(n, codePage_).text.c_str());
        RunCase(n);
        return;
    }
    const int cases = testing_support::CampaignCaseCount(kCasesPerCodePage);
    const DWORD start = GetTickCount();
    int run = 0;
    for (; run < cases; ++run) {
        RunCase(static_cast<uint64_t>(run));
        if (HasFailure()) {
            ADD_FAILURE() << "generated script " << run << " of code page " << codePage_ << ":\n"
                          << GenerateScript(static_cast<uint64_t>(run), codePage_).text;
            break;
        }
        if (run % 500 == 499) {
            std::printf("  script campaign, code page %u: %d of %d scripts\n", codePage_, run + 1, cases);
            std::fflush(stdout);
        }
    }
    std::printf("code page %u: %d generated scripts, %zu distinct outcomes (scripts), %lu ms\n", codePage_, run,
                reached_.size(), GetTickCount() - start);
    for (const auto& outcome : reached_)
        std::printf("  %s: %d\n", outcome.first.c_str(), outcome.second);
    RecordProperty("scripts", run);
    RecordProperty("outcomes", static_cast<int>(reached_.size()));
}
