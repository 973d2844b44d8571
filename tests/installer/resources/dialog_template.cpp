#include "dialog_template.h"

namespace {

// Reads little-endian fields in order and never past the end of the resource.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}

    bool Failed() const { return failed_; }

    template <typename T>
    T Read()
    {
        T value{};
        if (!Require(sizeof(T)))
            return value;
        CopyMemory(&value, data_ + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }

    std::wstring ReadString()
    {
        std::wstring text;
        for (WCHAR c = Read<WCHAR>(); c != 0 && !failed_; c = Read<WCHAR>())
            text += c;
        return text;
    }

    NameOrOrdinal ReadNameOrOrdinal()
    {
        NameOrOrdinal field;
        WORD first = Read<WORD>();
        if (first == 0xFFFF) {
            field.ordinal = Read<WORD>();
        } else if (first != 0) {
            field.name.assign(1, static_cast<WCHAR>(first));
            field.name += ReadString();
        }
        return field;
    }

    void AlignToDword() { offset_ = (offset_ + 3) & ~DWORD{3}; }

    void Skip(DWORD count)
    {
        if (Require(count))
            offset_ += count;
    }

private:
    bool Require(DWORD count)
    {
        if (failed_ || count > size_ || offset_ > size_ - count)
            failed_ = true;
        return !failed_;
    }

    const BYTE* data_;
    DWORD size_;
    DWORD offset_ = 0;
    bool failed_ = false;
};

std::wstring PredefinedClassName(WORD ordinal)
{
    switch (ordinal) {
    case 0x0080: return L"button";
    case 0x0081: return L"edit";
    case 0x0082: return L"static";
    case 0x0083: return L"listbox";
    case 0x0084: return L"scrollbar";
    case 0x0085: return L"combobox";
    default: return L"#" + std::to_wstring(ordinal);
    }
}

DialogControl ReadControl(TemplateReader& reader)
{
    DialogControl control;
    reader.AlignToDword();
    reader.Read<DWORD>();  // help id
    control.exStyle = reader.Read<DWORD>();
    control.style = reader.Read<DWORD>();
    control.x = reader.Read<short>();
    control.y = reader.Read<short>();
    control.cx = reader.Read<short>();
    control.cy = reader.Read<short>();
    control.id = reader.Read<DWORD>();
    NameOrOrdinal windowClass = reader.ReadNameOrOrdinal();
    control.className = windowClass.ordinal ? PredefinedClassName(windowClass.ordinal) : windowClass.name;
    control.text = reader.ReadNameOrOrdinal();
    reader.Skip(reader.Read<WORD>());  // creation data
    return control;
}

}  // namespace

bool ParseDialogTemplate(const void* data, DWORD size, DialogTemplate* result, std::string* error)
{
    TemplateReader reader(static_cast<const BYTE*>(data), size);
    WORD version = reader.Read<WORD>();
    WORD signature = reader.Read<WORD>();
    if (version != 1 || signature != 0xFFFF) {
        *error = "not an extended dialog template";
        return false;
    }
    DialogTemplate dialog;
    reader.Read<DWORD>();  // help id
    dialog.exStyle = reader.Read<DWORD>();
    dialog.style = reader.Read<DWORD>();
    WORD count = reader.Read<WORD>();
    dialog.x = reader.Read<short>();
    dialog.y = reader.Read<short>();
    dialog.cx = reader.Read<short>();
    dialog.cy = reader.Read<short>();
    dialog.menu = reader.ReadNameOrOrdinal();
    dialog.windowClass = reader.ReadNameOrOrdinal();
    dialog.caption = reader.ReadString();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.pointSize = reader.Read<WORD>();
        dialog.weight = reader.Read<WORD>();
        dialog.italic = reader.Read<BYTE>();
        dialog.charset = reader.Read<BYTE>();
        dialog.typeface = reader.ReadString();
    }
    for (WORD i = 0; i < count && !reader.Failed(); ++i)
        dialog.controls.push_back(ReadControl(reader));
    if (reader.Failed()) {
        *error = "template ends before its last field";
        return false;
    }
    *result = dialog;
    return true;
}
