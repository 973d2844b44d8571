// The extensions tried, in this order, for an "Open" name of the install
// script that has none (as the shell tries them for a program name), both by
// install and by pkgcheck.
#pragma once

inline const char* const kProgramExtensions[] = {".com", ".exe", ".bat", ".cmd"};
