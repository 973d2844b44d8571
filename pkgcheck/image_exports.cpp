#include "image_exports.h"

#include <stddef.h>

namespace {

// Export names are short; longer ones cannot match.
const int kNameBytes = 64;
const DWORD kMaxNames = 65536;

class ImageFile {
public:
    explicit ImageFile(const wchar_t* path)
        : handle_(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr))
    {
    }
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;
    ~ImageFile()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

    // The number of bytes read at offset: fewer than size at the file's end.
    DWORD ReadSome(DWORD offset, void* buffer, DWORD size) const
    {
        OVERLAPPED at = {};
        at.Offset = offset;
        DWORD read = 0;
        return ReadFile(handle_, buffer, size, &read, &at) ? read : 0;
    }

    bool ReadAt(DWORD offset, void* buffer, DWORD size) const { return ReadSome(offset, buffer, size) == size; }

private:
    HANDLE handle_;
};

struct SectionMap {
    IMAGE_SECTION_HEADER sections[96];
    WORD count;

    // The file offset of an address inside a section, or 0.
    DWORD OffsetOf(DWORD rva) const
    {
        for (WORD i = 0; i < count; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            const DWORD size = section.Misc.VirtualSize ? section.Misc.VirtualSize : section.SizeOfRawData;
            if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size &&
                rva - section.VirtualAddress < section.SizeOfRawData)
                return section.PointerToRawData + (rva - section.VirtualAddress);
        }
        return 0;
    }
};

// The export directory's address, the image's sections and its machine.
bool ReadHeaders(const ImageFile& file, IMAGE_DATA_DIRECTORY* exports, SectionMap* map, WORD* machine)
{
    IMAGE_DOS_HEADER dos;
    if (!file.ReadAt(0, &dos, sizeof(dos)) || dos.e_magic != IMAGE_DOS_SIGNATURE)
        return false;
    const DWORD ntOffset = static_cast<DWORD>(dos.e_lfanew);
    DWORD signature;
    IMAGE_FILE_HEADER header;
    if (!file.ReadAt(ntOffset, &signature, sizeof(signature)) || signature != IMAGE_NT_SIGNATURE ||
        !file.ReadAt(ntOffset + sizeof(signature), &header, sizeof(header)))
        return false;
    *machine = header.Machine;
    const DWORD optionalOffset = ntOffset + sizeof(signature) + sizeof(header);
    WORD magic;
    if (!file.ReadAt(optionalOffset, &magic, sizeof(magic)))
        return false;
    DWORD directoryOffset;
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        directoryOffset = optionalOffset + offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory);
    else if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        directoryOffset = optionalOffset + offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory);
    else
        return false;
    map->count = header.NumberOfSections;
    if (map->count > ARRAYSIZE(map->sections) || header.SizeOfOptionalHeader < directoryOffset - optionalOffset)
        return false;
    return file.ReadAt(directoryOffset + IMAGE_DIRECTORY_ENTRY_EXPORT * sizeof(IMAGE_DATA_DIRECTORY), exports,
                       sizeof(*exports)) &&
           file.ReadAt(optionalOffset + header.SizeOfOptionalHeader, map->sections,
                       map->count * sizeof(IMAGE_SECTION_HEADER));
}

}  // namespace

ImageExportsRead FindImageExports(const wchar_t* path, const char* const* names, int count, bool* found,
                                  WORD* machine)
{
    for (int i = 0; i < count; ++i)
        found[i] = false;
    ImageFile file(path);
    if (!file.IsOpen())
        return ImageUnreadable;
    IMAGE_DATA_DIRECTORY exports;
    SectionMap map;
    if (!ReadHeaders(file, &exports, &map, machine))
        return ImageNotAnImage;
    if (exports.VirtualAddress == 0 || exports.Size == 0)
        return ImageRead;
    IMAGE_EXPORT_DIRECTORY directory;
    const DWORD directoryOffset = map.OffsetOf(exports.VirtualAddress);
    if (!directoryOffset || !file.ReadAt(directoryOffset, &directory, sizeof(directory)))
        return ImageNotAnImage;
    const DWORD namesOffset = map.OffsetOf(directory.AddressOfNames);
    if (directory.NumberOfNames > kMaxNames || (directory.NumberOfNames && !namesOffset))
        return ImageNotAnImage;
    for (DWORD i = 0; i < directory.NumberOfNames; ++i) {
        DWORD nameRva;
        char name[kNameBytes] = {};
        if (!file.ReadAt(namesOffset + i * sizeof(DWORD), &nameRva, sizeof(nameRva)))
            return ImageNotAnImage;
        const DWORD nameOffset = map.OffsetOf(nameRva);
        if (!nameOffset || !file.ReadSome(nameOffset, name, sizeof(name) - 1))
            continue;
        for (int j = 0; j < count; ++j)
            found[j] |= lstrcmpA(name, names[j]) == 0;
    }
    return ImageRead;
}
