// Self-registration of a package component ("DllRegisterServer" or
// "DllUnregisterServer").
#pragma once

// path: the component's full ANSI path. Shows no message.
void RegisterComponent(const char* path, bool unregister);
