#include "shell_link_reader.h"

#include <windows.h>
#include <shlobj.h>

namespace copy_links_testing {

namespace {

template <class Interface>
struct Released {
    Interface* pointer = nullptr;
    ~Released()
    {
        if (pointer)
            pointer->Release();
    }
};

}  // namespace

bool ReadShellLink(const std::wstring& path, LinkContents* contents)
{
    Released<IShellLinkA> link;
    Released<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.pointer))) ||
        FAILED(link.pointer->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.pointer))) ||
        FAILED(file.pointer->Load(path.c_str(), STGM_READ)))
        return false;
    char text[1024];
    text[0] = '\0';
    link.pointer->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    contents->target = text;
    text[0] = '\0';
    link.pointer->GetArguments(text, sizeof text);
    contents->arguments = text;
    text[0] = '\0';
    link.pointer->GetWorkingDirectory(text, MAX_PATH);
    contents->workingDir = text;
    text[0] = '\0';
    link.pointer->GetIconLocation(text, MAX_PATH, &contents->iconIndex);
    contents->iconFile = text;
    text[0] = '\0';
    link.pointer->GetDescription(text, sizeof text);
    contents->description = text;
    return true;
}

}  // namespace copy_links_testing
