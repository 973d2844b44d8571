#include "scratch_registry.h"

#include <algorithm>

#include "registry_values.h"

namespace campaign {

namespace {

// Below "Software\InstallCampaign\<process id>", so that the runs of several
// code pages can share one prefix at the same time.
const wchar_t kParent[] = L"Software\\InstallCampaign";
const wchar_t* const kRootKeys[] = {L"Scratch\\CU", L"Scratch\\LM", L"Scratch\\CR"};
const wchar_t* const kSettingsRootKeys[] = {L"Settings\\CU", L"Settings\\LM", L"Settings\\CR"};
const wchar_t* const kSentinels[] = {L"Sentinel", L"Scratch\\Sentinel"};
const HKEY kPredefined[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT};

// What [Reg] lines aim at, under each scratch root.
const wchar_t* const kLeaves[] = {
    L"Software\\Sample Card Printer\\A\\B", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Software\\Classes\\CLSID\\{0}",
    L"Software\\Other Vendor\\Keep", L"SYSTEM\\CurrentControlSet", L"CLSID\\{0}", L"Interface\\{1}", L"*\\shell",
    L"Directory\\shell", L"Folder\\shell", L"Campaign\\Keep", L"Campaign\\Gone\\Deep",
};

// Real keys of the prefix with the names that lines aim at.
const struct {
    HKEY root;
    const wchar_t* path;
} kRealKeys[] = {
    {HKEY_CURRENT_USER, L"Software\\Wine"},
    {HKEY_CURRENT_USER, L"Software\\Microsoft"},
    {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet"},
    {HKEY_CLASSES_ROOT, L"CLSID"},
    {HKEY_CLASSES_ROOT, L"Interface"},
};

bool CreateKey(HKEY root, const std::wstring& path, HKEY* opened = nullptr)
{
    HKEY key;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    if (opened)
        *opened = key;
    else
        RegCloseKey(key);
    return true;
}

void DeleteTree(HKEY root, const std::wstring& path)
{
    RegDeleteTreeW(root, path.c_str());
    RegDeleteKeyW(root, path.c_str());
}

}  // namespace

ScratchRegistry::ScratchRegistry() : base_(std::wstring(kParent) + L"\\" + std::to_wstring(GetCurrentProcessId()))
{
    DeleteTree(HKEY_CURRENT_USER, base_);
    for (const wchar_t* sentinel : kSentinels)
        CreateKey(HKEY_CURRENT_USER, base_ + L"\\" + sentinel);
    for (int i = 0; i < 3; ++i) {
        CreateKey(HKEY_CURRENT_USER, base_ + L"\\" + kRootKeys[i], &regRoots_[i]);
        CreateKey(HKEY_CURRENT_USER, base_ + L"\\" + kSettingsRootKeys[i], &settingsRoots_[i]);
    }
    Refill();
}

ScratchRegistry::~ScratchRegistry()
{
    for (int i = 0; i < 3; ++i) {
        for (HKEY root : {regRoots_[i], settingsRoots_[i]}) {
            if (root)
                RegCloseKey(root);
        }
    }
    DeleteTree(HKEY_CURRENT_USER, base_);
    RegDeleteKeyW(HKEY_CURRENT_USER, kParent);  // only once no other run holds keys there
}

bool ScratchRegistry::Refill()
{
    bool made = true;
    for (HKEY root : regRoots_) {
        for (const wchar_t* leaf : kLeaves)
            made = CreateKey(root, leaf) && made;
    }
    return made;
}

ScratchRegistry::Redirect::Redirect(ScratchRegistry& registry, Roots roots)
{
    const HKEY* scratch = roots == RegRoots ? registry.regRoots_ : registry.settingsRoots_;
    active_ = true;
    for (int i = 0; i < 3; ++i)
        active_ = RegOverridePredefKey(kPredefined[i], scratch[i]) == ERROR_SUCCESS && active_;
}

ScratchRegistry::Redirect::~Redirect()
{
    for (HKEY predefined : kPredefined)
        RegOverridePredefKey(predefined, nullptr);
}

bool ScratchRegistry::SetSetting(bool machine, const std::wstring& key, const char* name, const std::string& value)
{
    HKEY opened;
    if (!CreateKey(settingsRoots_[machine ? 1 : 0], key, &opened))
        return false;
    const bool set = RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return set;
}

void ScratchRegistry::DeleteSettingKey(bool machine, const std::wstring& key)
{
    DeleteTree(settingsRoots_[machine ? 1 : 0], key);
}

std::vector<ScratchKey> ScratchRegistry::MissingKeys() const
{
    // Each leaf and each of its ancestors, once.
    static const std::vector<std::wstring> keys = [] {
        std::vector<std::wstring> all;
        for (const std::wstring leaf : kLeaves) {
            for (size_t end = leaf.find(L'\\');; end = leaf.find(L'\\', end + 1)) {
                const std::wstring key = leaf.substr(0, end);
                if (std::find(all.begin(), all.end(), key) == all.end())
                    all.push_back(key);
                if (end == std::wstring::npos)
                    break;
            }
        }
        return all;
    }();
    std::vector<ScratchKey> missing;
    for (int i = 0; i < 3; ++i) {
        for (const std::wstring& key : keys) {
            HKEY opened;
            if (RegOpenKeyExW(regRoots_[i], key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS)
                RegCloseKey(opened);
            else
                missing.push_back({i, key});
        }
    }
    return missing;
}

std::wstring ScratchRegistry::MissingSentinel() const
{
    using testing_support::KeyExists;
    if (!KeyExists(HKEY_CURRENT_USER, kParent) || !KeyExists(HKEY_CURRENT_USER, base_))
        return L"HKEY_CURRENT_USER\\" + base_;
    for (const wchar_t* key : {L"Scratch", kSentinels[0], kSentinels[1], kRootKeys[0], kRootKeys[1], kRootKeys[2],
                               kSettingsRootKeys[0], kSettingsRootKeys[1]}) {
        if (!KeyExists(HKEY_CURRENT_USER, base_ + L"\\" + key))
            return L"HKEY_CURRENT_USER\\" + base_ + L"\\" + key;
    }
    for (const auto& real : kRealKeys) {
        if (!KeyExists(real.root, real.path))
            return real.path;
    }
    return L"";
}

}  // namespace campaign
