// The self-registering components that the install script lists:
// "RegFiles0", "RegFiles1", ... of section "Install", up to the first
// missing or empty key, each a path below g_installDir.
#pragma once
#include <windows.h>

// RegisterComponent on each listed file that exists; missing files are
// skipped without a message. A listed path that leaves the install tree is
// not loaded: it is reported (message 42, owned by owner) and skipped.
void ProcessScriptComponents(bool unregister, HWND owner);
