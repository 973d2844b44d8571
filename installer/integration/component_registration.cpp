#include "component_registration.h"

// Loading the component and calling its entry point is not built yet: no
// component is registered or unregistered.
void RegisterComponent(const char* path, bool unregister)
{
}
