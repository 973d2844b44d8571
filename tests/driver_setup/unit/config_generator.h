// Generated TQSetup.ini files for the driver installer's bad-input campaign:
// the sample package's file, changed by a few seeded mutations taken from the
// format's grammar (keys and sections deleted, repeated and reordered, counts,
// field forms, values at and one past every buffer limit, separators, "..",
// non-ASCII and invalid UTF-16 names, names of the run's double-byte code page
// (the file then often in that code page), device names, explicit targets
// that are missing, files, "\\?\", UNC or hold ".."), with the state of the
// folders and the spooler around it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ini_model.h"

namespace driver_setup_campaign {

// Every generated file name carries this mark, so that anything written where
// it does not belong can be found by name.
extern const wchar_t kMarker[];
// The file that names leading out of their folders ("..\..\up_tqc.dll") find
// at the places they would read from.
extern const wchar_t kEscapeName[];

// The scratch folders a generated file may name. Explicit targets always lie
// inside work (or, relative, in the current directory the run sets there).
struct CampaignPlaces {
    std::wstring outer;       // the scratch folder; holds only work
    std::wstring work;        // where every case runs
    std::wstring toolTarget;  // the sample's explicit target folder, moved here
};

// What the world around the file looks like during one case.
struct CaseWorld {
    enum ToolState { ToolAbsent, ToolPresent, ToolIsFile };
    ToolState toolTarget = ToolAbsent;
    bool olderTargets = false;    // older copies of the listed files are already there
    bool heldTargets = false;     // ... and held open, as the spooler holds its files
    bool foldersAtNames = false;  // folders stand where listed files would go
    int spoolerStopResult = 1;    // the spooler's answer to a stop: 1, 0 or -1
    bool spoolerLetsGo = true;    // a stopped spooler lets go of the files it held
    int failingSystemFolder = 0;  // the CSIDL whose lookup fails, 0 for none
    bool driverStoreRefuses = false;
    bool longSystemFolders = false;  // system folders so long that file paths pass 259 characters
    bool setupDirWithBackslash = true;
};

struct GeneratedCase {
    uint64_t seed = 0;
    std::wstring osKey;
    IniModel ini;
    IniEncoding encoding = EncodingAnsi;
    bool localText = false;  // non-ASCII text written in the system's double-byte code page
    CaseWorld world;
    std::vector<const char*> mutations;
};

// The file names that have sources in every source folder of the package,
// those of the run's double-byte code page included.
const std::vector<std::wstring>& SourceNames();

// The sample's file made fit for the campaign: its explicit target moved to
// places.toolTarget and its file names marked.
IniModel AdaptSample(IniModel sample, const CampaignPlaces& places);

// One generated case; the same seed gives the same case.
GeneratedCase GenerateCase(const IniModel& base, const CampaignPlaces& places, uint64_t seed);

// The names listed in the case's file-list sections, as the reader gives them.
std::vector<std::wstring> ListedNames(const IniModel& ini);

}  // namespace driver_setup_campaign
