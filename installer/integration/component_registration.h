// Self-registration of a package component ("DllRegisterServer" or
// "DllUnregisterServer").
#pragma once

// path: the component's full ANSI path, loaded by that path with its own
// folder and the system directory as its only search path where Windows
// offers that. Shows no message.
void RegisterComponent(const char* path, bool unregister);
