// The scratch world the driver-installer campaign runs its cases in: a
// package whose sources lie deep below the scratch folder, shallow target
// folders, stand-ins for the system folders, the driver store and the
// spooler, and the checks that nothing was written where it does not belong.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

#include "config_generator.h"
#include "printer_system.h"
#include "setup_config.h"
#include "test_files.h"

namespace driver_setup_campaign {

// The driver store, system folders and spooler of one case: folders inside
// the scratch folder, a store that only looks at the INF file, and a spooler
// that answers as the case says and keeps account of its state.
class CampaignSystem : public PrinterSystem {
public:
    CampaignSystem(const CaseWorld& world, const std::wstring& system, const std::wstring& systemX86);

    bool AddToDriverStore(const wchar_t* infPath) override;
    bool FindSystemFolder(int csidl, wchar_t (&folder)[SETUP_PATH_SIZE]) override;
    int ControlSpooler(SpoolerAction action) override;

    // Files the spooler holds until it stops (when the case lets it go).
    void Hold(const std::wstring& path);
    void LetGo();
    // False when a run left the spooler stopped.
    bool SpoolerRunning() const { return running_; }
    int Stops() const { return stops_; }

private:
    const CaseWorld& world_;
    std::wstring system_;
    std::wstring systemX86_;
    std::vector<HANDLE> held_;
    bool running_ = true;
    int stops_ = 0;
};

class CampaignWorld {
public:
    CampaignWorld();
    CampaignWorld(const CampaignWorld&) = delete;
    CampaignWorld& operator=(const CampaignWorld&) = delete;
    ~CampaignWorld();

    const CampaignPlaces& Places() const { return places_; }
    // The sample's TQSetup.ini made fit for the campaign.
    const IniModel& Base() const { return base_; }

    // Writes the case's file, sets up its folders and spooler; the path of the file.
    std::wstring Prepare(const GeneratedCase& generated, CampaignSystem& system);
    // Undoes Prepare and the install: targets, the current directory and the
    // file go. Returns the files found beside the target folders.
    std::vector<std::wstring> Clear();
    std::wstring SetupDirectory(const CaseWorld& world) const;
    std::wstring SystemFolder(const CaseWorld& world, bool x86) const;

    // Entries that stand where no case may write: beside work or inside it
    // beside its own folders, and (withPackage) new in the package.
    std::vector<std::wstring> StrayEntries(bool withPackage) const;
    // Removes what StrayEntries found, so that the next case is judged alone.
    static void Remove(const std::vector<std::wstring>& strays);
    // Files carrying the campaign's mark in the folders a name could lead to
    // outside the scratch folder (its ancestors, the system folders, C:\).
    std::vector<std::wstring> MarkedFilesOutside() const;

    // After a run that reported success: every file that the groups of kinds
    // 1 to 3 list is at its target as a file with the package's bytes and
    // write time, unless the copy rule keeps what stands there (a folder in
    // its place, or any target of a source that is missing). The first file
    // that is not, or "".
    std::string FileLeftBehind(const DriverSetup& setup, CampaignSystem& system) const;

private:
    void MakePackage();

    testing_support::ScratchDir outer_;
    CampaignPlaces places_;
    std::wstring package_;
    std::vector<std::wstring> packageFiles_;
    FILETIME packageTime_ = {};  // every source file's write time
    IniModel base_;
    std::wstring savedDirectory_;
    std::wstring iniPath_;
};

}  // namespace driver_setup_campaign
