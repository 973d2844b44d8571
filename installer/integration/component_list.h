// The self-registering components that the install script lists:
// "RegFiles0", "RegFiles1", ... of section "Install", up to the first
// missing or empty key, each a path below g_installDir.
#pragma once

// RegisterComponent on each listed file that exists; missing files are
// skipped without a message.
void ProcessScriptComponents(bool unregister);
