#include "uninstall_copy.h"

// The uninstall dialog and the self-removal are not built yet: the copy
// removes nothing and ends.
void RunUninstallCopy()
{
}
