// The size a dialog template of install gives its dialog, read from the
// resource the dialog manager would build it from.
#pragma once
#include <windows.h>

// cx and cy of template templateId of g_hInstance, in dialog units of the
// template's own font; false when the template is missing or too short.
bool ReadTemplateSize(int templateId, SIZE* dialogUnits);
