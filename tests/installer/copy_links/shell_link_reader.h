// Reads a saved shortcut back through the shell-link object, as the shell
// would, so that tests compare what a user gets.
#pragma once
#include <string>

namespace copy_links_testing {

struct LinkContents {
    std::string target;
    std::string arguments;
    std::string workingDir;
    std::string iconFile;
    int iconIndex = -1;
    std::string description;
};

// False when the file is missing or not a shortcut. COM must be initialised.
bool ReadShellLink(const std::wstring& path, LinkContents* contents);

}  // namespace copy_links_testing
