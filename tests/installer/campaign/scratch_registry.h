// The registry roots redirected for the calling process (RegOverridePredefKey)
// to scratch keys: for [Reg] lines, keys that hold a copy of what such lines
// aim at, with sentinel keys beside and above them; for the settings load,
// the values it reads, set by the campaign case by case.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace campaign {

// A key that a [Reg] line may have removed: root index (0 HKEY_CURRENT_USER,
// 1 HKEY_LOCAL_MACHINE, 2 HKEY_CLASSES_ROOT) and the path below it.
struct ScratchKey {
    int root;
    std::wstring path;
};

class ScratchRegistry {
public:
    ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;
    ~ScratchRegistry();

    // Makes every scratch key of the [Reg] roots exist again.
    bool Refill();

    // Which scratch keys stand in for the roots: those that [Reg] lines aim
    // at, or those that the settings load and the shortcut code read (the
    // user's and the machine's "Software", nothing of the prefix's own).
    enum Roots { RegRoots, SettingsRoots };

    // Redirects HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT
    // for the whole process while the object lives.
    class Redirect {
    public:
        Redirect(ScratchRegistry& registry, Roots roots);
        Redirect(const Redirect&) = delete;
        Redirect& operator=(const Redirect&) = delete;
        ~Redirect();
        bool Active() const { return active_; }

    private:
        bool active_ = false;
    };

    // A string value below a settings root (machine: HKEY_LOCAL_MACHINE,
    // else HKEY_CURRENT_USER), in the system code page.
    bool SetSetting(bool machine, const std::wstring& key, const char* name, const std::string& value);
    void DeleteSettingKey(bool machine, const std::wstring& key);

    // The scratch keys of the [Reg] roots that are gone.
    std::vector<ScratchKey> MissingKeys() const;
    // The sentinels beside and above the scratch roots, the roots themselves
    // and the real keys of the same names that lines aim at: "" when all are
    // there, else the first one missing.
    std::wstring MissingSentinel() const;

private:
    std::wstring base_;
    HKEY regRoots_[3] = {};
    HKEY settingsRoots_[3] = {};
};

}  // namespace campaign
