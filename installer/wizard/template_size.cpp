#include "template_size.h"

#include "globals.h"

namespace {

// An extended template starts with version 1 and this signature; its cx
// lies after the help id, the styles, the item count, x and y. A plain
// template has its cx after the styles, the item count, x and y. cy follows.
const WORD kExtendedSignature = 0xFFFF;
const DWORD kSignatureOffset = 2;
const DWORD kExtendedSizeOffset = 22;
const DWORD kPlainSizeOffset = 14;

short ReadShort(const BYTE* data, DWORD offset)
{
    short value;
    CopyMemory(&value, data + offset, sizeof(value));
    return value;
}

}  // namespace

bool ReadTemplateSize(int templateId, SIZE* dialogUnits)
{
    HRSRC found = FindResourceA(g_hInstance, MAKEINTRESOURCEA(templateId), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(g_hInstance, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const DWORD size = data ? SizeofResource(g_hInstance, found) : 0;
    if (size < kSignatureOffset + sizeof(WORD))
        return false;
    const bool extended = static_cast<WORD>(ReadShort(data, kSignatureOffset)) == kExtendedSignature;
    const DWORD offset = extended ? kExtendedSizeOffset : kPlainSizeOffset;
    if (size < offset + 2 * sizeof(short))
        return false;
    dialogUnits->cx = ReadShort(data, offset);
    dialogUnits->cy = ReadShort(data, offset + sizeof(short));
    return true;
}
