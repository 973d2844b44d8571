// Install scripts made from a seed: the sample package's scripts taken apart
// and put together again with the format's odd forms (missing, empty,
// duplicated and reordered keys and sections, gaps in numbered lists, values
// at and one past every buffer limit, "..", drives, network paths, streams,
// every [Group] segment form and every [Reg] root form, quoted values, NUL
// and ^Z bytes), in the text of the system code page (1252, 932 or 936) with
// a few bytes of the wrong one, now and then behind a byte-order mark.
#pragma once
#include <cstdint>
#include <string>

namespace campaign {

struct GeneratedScript {
    std::string text;             // the script's bytes
    std::string programFilesDir;  // "ProgramFilesDir" to set for this case
    std::string programName;      // g_programName (at most 51 bytes)
    // An uninstall entry under the script's install key: none, the same
    // title with registeredCommand as "UninstallString", or another title.
    enum { EntryNone, EntrySameTitle, EntryOtherTitle } uninstallEntry = EntryNone;
    std::string registeredCommand;
};

// The uninstall key name that scripts use when they ask for an existing entry.
extern const char kCampaignInstallKey[];

// Case number n of the campaign for code page codePage; the same (n, code
// page) gives the same script on every run.
GeneratedScript GenerateScript(uint64_t n, unsigned codePage);

}  // namespace campaign
