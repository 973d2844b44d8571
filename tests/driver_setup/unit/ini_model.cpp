#include "ini_model.h"

namespace driver_setup_campaign {

namespace {

std::wstring Trimmed(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return L"";
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

// The first field of a comma list, as the reader splits it (empty fields skipped).
std::wstring FirstField(const std::wstring& value)
{
    const size_t first = value.find_first_not_of(L',');
    if (first == std::wstring::npos)
        return L"";
    return value.substr(first, value.find(L',', first) - first);
}

}  // namespace

std::wstring KeyOf(const std::wstring& line)
{
    const size_t equals = line.find(L'=');
    return equals == std::wstring::npos ? L"" : Trimmed(line.substr(0, equals));
}

IniModel IniModel::Parse(const std::wstring& text)
{
    IniModel model;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        const std::wstring trimmed = Trimmed(line);
        if (trimmed.empty())
            continue;
        if (trimmed[0] == L'[' && trimmed.back() == L']') {
            model.sections.push_back({trimmed.substr(1, trimmed.size() - 2), {}});
        } else if (!model.sections.empty()) {
            model.sections.back().lines.push_back(line);
        }
    }
    return model;
}

std::wstring IniModel::Render() const
{
    std::wstring text;
    for (const IniSection& section : sections) {
        text += L"[" + section.name + L"]\r\n";
        for (const std::wstring& line : section.lines)
            text += line + L"\r\n";
    }
    return text;
}

IniSection* IniModel::Find(const std::wstring& name)
{
    for (IniSection& section : sections) {
        if (lstrcmpiW(section.name.c_str(), name.c_str()) == 0)
            return &section;
    }
    return nullptr;
}

const IniSection* IniModel::Find(const std::wstring& name) const
{
    return const_cast<IniModel*>(this)->Find(name);
}

bool IniModel::Get(const std::wstring& section, const std::wstring& key, std::wstring* value) const
{
    const IniSection* found = Find(section);
    if (!found)
        return false;
    for (const std::wstring& line : found->lines) {
        if (lstrcmpiW(KeyOf(line).c_str(), key.c_str()) == 0) {
            *value = Trimmed(line.substr(line.find(L'=') + 1));
            return true;
        }
    }
    return false;
}

void IniModel::Set(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    IniSection* found = Find(section);
    if (!found) {
        sections.push_back({section, {}});
        found = &sections.back();
    }
    for (std::wstring& line : found->lines) {
        if (lstrcmpiW(KeyOf(line).c_str(), key.c_str()) == 0) {
            line = key + L"=" + value;
            return;
        }
    }
    found->lines.push_back(key + L"=" + value);
}

std::vector<std::wstring> IniModel::FileListSections() const
{
    std::vector<std::wstring> names;
    for (const IniSection& section : sections) {
        for (const std::wstring& line : section.lines) {
            if (KeyOf(line).compare(0, 4, L"Name") == 0)
                names.push_back(Trimmed(FirstField(line.substr(line.find(L'=') + 1))));
        }
    }
    return names;
}

std::string EncodeIni(const std::wstring& text, IniEncoding encoding)
{
    if (encoding == EncodingUtf16) {
        std::string bytes("\xFF\xFE");
        for (wchar_t c : text) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>((c >> 8) & 0xFF);
        }
        return bytes;
    }
    const UINT codePage = encoding == EncodingUtf8 ? CP_UTF8 : CP_ACP;
    const int size = WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr,
                        nullptr);
    return encoding == EncodingUtf8 ? "\xEF\xBB\xBF" + bytes : bytes;
}

}  // namespace driver_setup_campaign
