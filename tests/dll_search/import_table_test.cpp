// The import tables of the shipped programs: DLLs named there load before the
// program's first line runs, wherever the search finds them, so nothing but
// KERNEL32 and the C runtime may stand there.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "test_files.h"

using namespace testing_support;

namespace {

template <class T>
bool ReadAt(const std::string& image, size_t offset, T* value)
{
    if (offset > image.size() || image.size() - offset < sizeof(T))
        return false;
    std::memcpy(value, image.data() + offset, sizeof(T));
    return true;
}

// File offset of an address relative to the image base; 0 when no section holds it.
size_t OffsetOfRva(const std::vector<IMAGE_SECTION_HEADER>& sections, DWORD rva)
{
    for (const IMAGE_SECTION_HEADER& section : sections) {
        if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.SizeOfRawData)
            return section.PointerToRawData + (rva - section.VirtualAddress);
    }
    return 0;
}

// The DLL names of the import directory, upper case, sorted; a damaged file
// gives a failure and no names.
std::vector<std::string> ImportedDlls(const std::wstring& path)
{
    const std::string image = ReadFileBytes(path);
    IMAGE_DOS_HEADER dos;
    DWORD signature = 0;
    IMAGE_FILE_HEADER file;
    WORD magic = 0;
    if (!ReadAt(image, 0, &dos) || !ReadAt(image, dos.e_lfanew, &signature) || signature != IMAGE_NT_SIGNATURE ||
        !ReadAt(image, dos.e_lfanew + 4, &file) || !ReadAt(image, dos.e_lfanew + 4 + sizeof(file), &magic)) {
        ADD_FAILURE() << "not a program";
        return {};
    }
    const size_t optional = dos.e_lfanew + 4 + sizeof(file);
    const size_t directories = optional + (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC
                                               ? offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory)
                                               : offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory));
    IMAGE_DATA_DIRECTORY imports;
    if (!ReadAt(image, directories + IMAGE_DIRECTORY_ENTRY_IMPORT * sizeof(imports), &imports)) {
        ADD_FAILURE() << "no data directories";
        return {};
    }
    std::vector<IMAGE_SECTION_HEADER> sections(file.NumberOfSections);
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!ReadAt(image, optional + file.SizeOfOptionalHeader + i * sizeof(IMAGE_SECTION_HEADER), &sections[i])) {
            ADD_FAILURE() << "section table cut short";
            return {};
        }
    }
    std::vector<std::string> names;
    IMAGE_IMPORT_DESCRIPTOR descriptor;
    for (size_t at = OffsetOfRva(sections, imports.VirtualAddress);
         at != 0 && ReadAt(image, at, &descriptor) && descriptor.Name != 0; at += sizeof(descriptor)) {
        const size_t name = OffsetOfRva(sections, descriptor.Name);
        std::string dll = name ? image.substr(name, image.find('\0', name) - name) : "?";
        std::transform(dll.begin(), dll.end(), dll.begin(), [](char c) { return static_cast<char>(toupper(c)); });
        names.push_back(dll);
    }
    std::sort(names.begin(), names.end());
    return names;
}

const wchar_t* const kPrograms[] = {
#ifdef _WIN64
    SETUP64_EXE,
#else
    INSTALL_EXE, SETUP_EXE,
#endif
};

class ImportTable : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(ImportTable, NamesOnlyKernel32AndTheCRuntime)
{
    const std::vector<std::string> expected = {"KERNEL32.DLL", "MSVCRT.DLL"};
    EXPECT_EQ(expected, ImportedDlls(GetParam())) << ToCodePage(GetParam(), CP_UTF8);
}

INSTANTIATE_TEST_SUITE_P(Programs, ImportTable, ::testing::ValuesIn(kPrograms));

}  // namespace
