#include "config_generator.h"

#include <algorithm>

#include "seeded_random.h"

namespace driver_setup_campaign {

const wchar_t kMarker[] = L"_tqc";
const wchar_t kEscapeName[] = L"up_tqc.dll";

namespace {

using testing_support::SeededRandom;

// Buffer sizes of the reader, in characters with the terminator: a value is
// generated at its limit and one past it.
const size_t kValueSize = 260;
const size_t kInfNameSize = 256;
const size_t kShortSize = 50;
const size_t kSectionSize = 1024;

const wchar_t* const kOsKeys[] = {L"Win1064", L"Win1064", L"Win1064", L"Win10", L"Win7", L"Win764",
                                  L"Win81",   L"Win8164", L"2008R2",  L"2012R2", L"2016", L"win1064"};

const wchar_t* const kCounts[] = {
    L"0",  L"-1", L"2000000", L"2147483647", L"2147483648", L"4294967297", L"99999999999999999999",
    L"abc", L"3x", L"x3", L" 2", L"+2", L"0x10", L"", L"1e3", L"-2147483648", L"\xFF12", L"2 3", L"1", L"6",
};

const wchar_t* const kKinds[] = {L" 0", L" 6", L" -1", L" 7", L" 2 ", L"  3", L" x", L"12", L" 1", L"1:", L":",
                                 L" 10", L" 21", L"4\t", L" 5", L" 2", L"", L" \xFF12", L" 2,", L"3 4"};

const wchar_t* const kSeparators[] = {L",", L", ", L" ,", L",,", L" , ", L",\t", L",1:", L", 1:"};

// Names that lead out of their folder, or name none: each must fail alone.
const wchar_t* const kEscapingNames[] = {
    L"..\\up_tqc.dll",        L"..\\..\\up_tqc.dll",        L"..\\..\\..\\up_tqc.dll",
    L"..\\..\\..\\..\\up_tqc.dll", L"../../../up_tqc.dll",   L"sub\\..\\..\\..\\up_tqc.dll",
    L"...\\..\\..\\up_tqc.dll", L".. \\..\\..\\up_tqc.dll",   L"..\\..\\..\\..\\..\\..\\..\\..\\..\\up_tqc.dll",
    L"C:\\abs_tqc.dll",       L"C:abs_tqc.dll",             L"\\abs_tqc.dll",
    L"/abs_tqc.dll",          L"\\\\?\\C:\\abs_tqc.dll",     L"\\\\.\\C:\\abs_tqc.dll",
    L"plain_tqc.txt:stream",  L"plain_tqc.txt::$DATA",      L"..",
    L".",                     L"=",                         L"Z:abs_tqc.dll",
};

const wchar_t* const kOddNames[] = {
    L"missing_tqc.dll", L"folder_tqc.dll",        L"sub\\nested_tqc.dll", L"sub/nested_tqc.dll",
    L"日本語_tqc.dll",  L"中文_tqc.dll",          L"café_tqc.txt",        L"bad\xD800_tqc.dll",
    L"bad\xDC00_tqc.dll", L"\xDFFF\xD800_tqc.dll", L" plain_tqc.txt",      L"plain_tqc.txt ",
    L"PCPCardUI64_tqc.dll=1", L"pcpcardui64_tqc.dll", L"a=b=c_tqc.dll",   L"; comment_tqc.dll",
    L"NUL",             L"COM1",                  L"LPT1",                L"nul.txt",
    L"com1.dll",        L"CON",                   L"plain_tqc.txt.~inst",
};

const wchar_t* const kSourceNames[] = {
    L"PCPCardUI64_tqc.dll", L"PCPCardUI32_tqc.dll", L"PDRres_tqc.dll",         L"pcpcardui64_tqc.dll",
    L"CardPrinterRes64_tqc.dll", L"CardPrinterRes32_tqc.dll", L"CardPrinterRt64_tqc.dll",
    L"CardPrinterRt32_tqc.dll", L"CardPrinterTool_tqc.cfg", L"CardPrinterReadme_tqc.txt",
    L"plain_tqc.txt",      L"sub\\nested_tqc.dll", L"日本語_tqc.dll",         L"café_tqc.txt",
};

// Names in the double-byte code page of a run under a Japanese or Chinese
// locale, as its bytes, with the trail bytes 0x5C ("\\") and 0x7C ("|").
const char* const kNames932[] = {"\x95\x5C", "\x83\x5C\x83\x74\x83\x67", "\x83\x7C", "\xB6\xB0\xC4\xDE"};
const char* const kNames936[] = {"\xC8\xED\xBC\xFE", "\x81\x5C", "\xD5\x7C", "\xB2\xE2\xCA\xD4"};

const wchar_t* const kNonAscii[] = {L"ファイル", L"文件", L"Dateien_ü", L"x\xD800y", L"\xDC00", L"Ω"};

std::wstring Filler(size_t length, wchar_t fill = L'x')
{
    return std::wstring(length, fill);
}

// "base" padded with fill to exactly length characters (cut when longer).
std::wstring PadTo(const std::wstring& base, size_t length, bool padInFront)
{
    if (base.size() >= length)
        return base.substr(0, length);
    return padInFront ? Filler(length - base.size()) + base : base + Filler(length - base.size());
}

// A length at, just under or one past a buffer of size characters.
size_t AroundLimit(SeededRandom& random, size_t size)
{
    const size_t lengths[] = {size - 2, size - 1, size, size + 1};
    return lengths[random.Below(4)];
}

std::vector<std::wstring> SplitAll(const std::wstring& value)
{
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = value.find(L',', start);
        fields.push_back(value.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
        if (comma == std::wstring::npos)
            return fields;
        start = comma + 1;
    }
}

std::wstring JoinFields(const std::vector<std::wstring>& fields)
{
    std::wstring value = fields[0];
    for (size_t i = 1; i < fields.size(); ++i)
        value += L"," + fields[i];
    return value;
}

// A random "key=value" line of the file, or nullptr.
struct KeyLine {
    IniSection* section = nullptr;
    std::wstring* line = nullptr;
};

KeyLine PickKeyLine(IniModel& ini, SeededRandom& random, const wchar_t* keyStem = nullptr)
{
    std::vector<KeyLine> lines;
    for (IniSection& section : ini.sections) {
        for (std::wstring& line : section.lines) {
            const std::wstring key = KeyOf(line);
            if (!key.empty() && (!keyStem || key.compare(0, wcslen(keyStem), keyStem) == 0))
                lines.push_back({&section, &line});
        }
    }
    return lines.empty() ? KeyLine() : lines[random.Below(static_cast<uint32_t>(lines.size()))];
}

std::wstring ValueOf(const std::wstring& line)
{
    return line.substr(line.find(L'=') + 1);
}

void SetValue(std::wstring& line, const std::wstring& value)
{
    line = line.substr(0, line.find(L'=') + 1) + value;
}

IniSection* PickSection(IniModel& ini, SeededRandom& random)
{
    return ini.sections.empty() ? nullptr : &ini.sections[random.Below(static_cast<uint32_t>(ini.sections.size()))];
}

IniSection* PickFileList(IniModel& ini, SeededRandom& random)
{
    const std::vector<std::wstring> names = ini.FileListSections();
    if (names.empty())
        return nullptr;
    return ini.Find(names[random.Below(static_cast<uint32_t>(names.size()))]);
}

template <class T>
void Shuffle(std::vector<T>& items, SeededRandom& random)
{
    for (size_t i = items.size(); i > 1; --i)
        std::swap(items[i - 1], items[random.Below(static_cast<uint32_t>(i))]);
}

// The mutations, each from the grammar of the format.
using Mutation = void (*)(IniModel&, SeededRandom&, const CampaignPlaces&);

void DeleteKey(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    IniSection* section = PickSection(ini, random);
    if (section && !section->lines.empty())
        section->lines.erase(section->lines.begin() + random.Below(static_cast<uint32_t>(section->lines.size())));
}

void DeleteSection(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    if (!ini.sections.empty())
        ini.sections.erase(ini.sections.begin() + random.Below(static_cast<uint32_t>(ini.sections.size())));
}

void DuplicateKey(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    KeyLine picked = PickKeyLine(ini, random);
    if (!picked.line)
        return;
    std::wstring copy = *picked.line;
    if (random.Percent(50))
        SetValue(copy, random.Pick(kCounts));
    std::vector<std::wstring>& lines = picked.section->lines;
    lines.insert(lines.begin() + random.Below(static_cast<uint32_t>(lines.size() + 1)), copy);
}

void DuplicateSection(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    IniSection* section = PickSection(ini, random);
    if (!section)
        return;
    IniSection copy = *section;
    if (random.Percent(50))
        Shuffle(copy.lines, random);
    ini.sections.insert(ini.sections.begin() + random.Below(static_cast<uint32_t>(ini.sections.size() + 1)), copy);
}

void ReorderKeys(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    if (IniSection* section = PickSection(ini, random))
        Shuffle(section->lines, random);
}

void ReorderSections(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    Shuffle(ini.sections, random);
}

void SetCount(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    KeyLine picked = PickKeyLine(ini, random, L"Entry");
    if (!picked.line)
        return;
    if (random.Percent(20)) {
        const int count = _wtoi(ValueOf(*picked.line).c_str());
        SetValue(*picked.line, std::to_wstring(count + (random.Percent(50) ? 1 : -1)));
    } else {
        SetValue(*picked.line, random.Pick(kCounts));
    }
}

// Writes a comma list again with other separators: blanks after commas or
// not, "1:" prefixes, empty fields, leading and trailing commas.
void RewriteFieldForms(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    KeyLine picked = PickKeyLine(ini, random, random.Percent(50) ? L"Name" : L"OS");
    if (!picked.line)
        return;
    std::vector<std::wstring> fields = SplitAll(ValueOf(*picked.line));
    std::wstring value = random.Percent(10) ? L"," : L"";
    for (size_t i = 0; i < fields.size(); ++i) {
        std::wstring field = fields[i];
        if (random.Percent(40) && !field.empty() && (field[0] == L' ' || field[0] == L'1'))
            field = field.substr(field[0] == L' ' ? 1 : std::min<size_t>(2, field.size()));
        value += (i ? std::wstring(random.Pick(kSeparators)) : L"") + field;
    }
    if (random.Percent(10))
        value += L",";
    SetValue(*picked.line, value);
}

// A value at, just under or one past the buffer it is read into.
void SetLongValue(IniModel& ini, SeededRandom& random, const CampaignPlaces& places)
{
    switch (random.Below(6)) {
    case 0: {
        KeyLine picked = PickKeyLine(ini, random, L"OS");
        if (picked.line)
            SetValue(*picked.line, PadTo(ValueOf(*picked.line) + L",", AroundLimit(random, kValueSize),
                                         random.Percent(50)));
        break;
    }
    case 1: {
        KeyLine picked = PickKeyLine(ini, random, L"WDMInf");
        if (picked.line)
            SetValue(*picked.line, PadTo(L".inf", AroundLimit(random, kInfNameSize), true));
        break;
    }
    case 2: {
        // A dependent-files section named at the limit, and its section renamed to match.
        KeyLine picked = PickKeyLine(ini, random, L"WDMDependFiles");
        if (!picked.line)
            break;
        IniSection* depend = ini.Find(ValueOf(*picked.line));
        const std::wstring name = PadTo(ValueOf(*picked.line), AroundLimit(random, kShortSize), false);
        SetValue(*picked.line, name);
        if (depend && random.Percent(70))
            depend->name = name;
        break;
    }
    case 3: {
        KeyLine picked = PickKeyLine(ini, random, L"Entry");
        if (picked.line)
            SetValue(*picked.line, PadTo(ValueOf(*picked.line), AroundLimit(random, kShortSize), true));
        break;
    }
    case 4: {
        // A Name list whose target folder (inside the scratch folder) or source folder is long.
        KeyLine picked = PickKeyLine(ini, random, L"Name");
        if (!picked.line)
            break;
        std::vector<std::wstring> fields = SplitAll(ValueOf(*picked.line));
        const size_t length = AroundLimit(random, kValueSize);
        const std::wstring head = fields[0] + L",";
        if (random.Percent(50)) {
            const std::wstring target = L"1:" + places.work + L"\\t\\";
            const std::wstring tail = L", x64\\spool";
            const size_t fixed = head.size() + target.size() + tail.size();
            SetValue(*picked.line, head + target + Filler(length > fixed ? length - fixed : 1, L'd') + tail);
        } else {
            const std::wstring body = head + (fields.size() > 1 ? fields[1] : L" 2") + L", ";
            SetValue(*picked.line, body + Filler(length > body.size() ? length - body.size() : 1, L's'));
        }
        break;
    }
    default: {
        // A file name that takes the target path to 259, 260 or 261 characters.
        IniSection* list = PickFileList(ini, random);
        if (!list)
            break;
        const size_t folder = places.toolTarget.size() + 1;
        const size_t length = AroundLimit(random, kValueSize) - folder;
        list->lines.push_back(PadTo(L"_tqc.dll", length, true));
        break;
    }
    }
}

// A file-list section whose lines with their terminators take about the
// 1024 characters of the reader's buffer.
void FillFileList(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    IniSection* list = PickFileList(ini, random);
    if (!list)
        return;
    const size_t totals[] = {kSectionSize - 4, kSectionSize - 3, kSectionSize - 2, kSectionSize - 1, kSectionSize,
                             kSectionSize + 1, 2 * kSectionSize};
    const size_t total = totals[random.Below(7)];
    list->lines.clear();
    size_t used = 0;
    for (int i = 0; used + 40 < total; ++i) {
        const std::wstring line = L"fill" + std::to_wstring(1000 + i) + L"_tqc" + Filler(20, L'f') + L".dll";
        list->lines.push_back(line);
        used += line.size() + 1;
    }
    list->lines.push_back(PadTo(L"_tqc.dll", total - used - 1, true));
}

// Source and target folders written with other separators.
void ChangeSeparators(IniModel& ini, SeededRandom& random, const CampaignPlaces& places)
{
    KeyLine picked = PickKeyLine(ini, random, L"Name");
    if (!picked.line)
        return;
    std::vector<std::wstring> fields = SplitAll(ValueOf(*picked.line));
    if (fields.size() < 3)
        return;
    const std::wstring sources[] = {L" x64/spool",  L" x64\\\\spool", L" x64\\spool\\", L" \\x64\\spool",
                                    L" .\\x64\\spool", L" x64\\..\\x64\\spool", L" ..\\pkg\\x64\\spool",
                                    L" x64\\spool\\.", L"1:common", L" common/", L" " + places.work};
    const std::wstring targets[] = {L"1:" + places.toolTarget + L"\\", L"1:" + places.toolTarget + L"\\\\\\",
                                    L"1:" + places.work + L"/t/tool", L"1:" + places.work + L"\\\\t\\\\tool",
                                    L"1:rel", L"1:.\\rel", L"1:rel\\sub", L" " + places.toolTarget};
    if (random.Percent(50))
        fields[2] = random.Pick(sources);
    else
        fields[1] = random.Pick(targets);
    SetValue(*picked.line, JoinFields(fields));
}

// Names that leave their folder, name none, are missing, are folders, or are
// not ASCII or not even valid UTF-16.
void AddNames(IniModel& ini, SeededRandom& random, const CampaignPlaces& places)
{
    IniSection* list = PickFileList(ini, random);
    if (!list)
        return;
    const int count = 1 + random.Below(3);
    for (int i = 0; i < count; ++i) {
        std::wstring name;
        switch (random.Below(3)) {
        case 0:
            name = random.Pick(kEscapingNames);
            break;
        case 1:
            name = random.Pick(kOddNames);
            break;
        default:
            name = random.Percent(50) ? places.outer + L"\\abs_tqc.dll"
                                      : SourceNames()[random.Below(static_cast<uint32_t>(SourceNames().size()))];
            break;
        }
        list->lines.insert(list->lines.begin() + random.Below(static_cast<uint32_t>(list->lines.size() + 1)), name);
    }
}

void ChangeTargetKind(IniModel& ini, SeededRandom& random, const CampaignPlaces& places)
{
    KeyLine picked = PickKeyLine(ini, random, L"Name");
    if (!picked.line)
        return;
    std::vector<std::wstring> fields = SplitAll(ValueOf(*picked.line));
    if (fields.size() < 2)
        return;
    const std::wstring explicitTargets[] = {
        L"1:" + places.work + L"\\missing\\tool", L"1:" + places.toolTarget, L" 1:" + places.toolTarget,
        L"1:" + places.work + L"\\t\\ツール", L"1:" + places.work + L"\\t\\x\xD800", L"1:rel",
        L"1:\\\\?\\" + places.toolTarget, L"1:\\\\?\\" + places.work + L"\\t\\..\\t\\tool",
        L"1:\\\\localhost\\C$\\tqc_tool", L"1:\\\\?\\UNC\\localhost\\C$\\tqc_tool",
        L"1:" + places.work + L"\\t\\x\\..\\tool", L"1:" + places.toolTarget + L"\\.", L"1:" + places.work + L"\\t\\.\\tool",
        L"1:" + places.toolTarget + L"\\sub\\.."};
    fields[1] = random.Percent(70) ? std::wstring(random.Pick(kKinds)) : random.Pick(explicitTargets);
    SetValue(*picked.line, JoinFields(fields));
}

void ChangeDriverPackage(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    const wchar_t* const flags[] = {L"0", L"1", L"-1", L"2", L"yes", L"", L" 1", L"1x"};
    const wchar_t* const infs[] = {L"", L"..\\x64\\CardPrinter.inf", L"missing.inf", L"spool", L"CardPrinter.inf ",
                                   L"C:CardPrinter.inf", L"\xD800.inf", L"ドライバ.inf"};
    if (random.Percent(50)) {
        ini.Set(L"Information", L"DevInstall", random.Pick(flags));
        return;
    }
    KeyLine picked = PickKeyLine(ini, random, L"WDMInf");
    if (picked.line)
        SetValue(*picked.line, random.Pick(infs));
}

// Section names (and the values that name them) with non-ASCII characters or lone surrogates.
void RenameSection(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    IniSection* list = PickFileList(ini, random);
    if (!list)
        return;
    const std::wstring oldName = list->name;
    const std::wstring newName = oldName + random.Pick(kNonAscii);
    if (random.Percent(80))
        list->name = newName;
    for (IniSection& section : ini.sections) {
        for (std::wstring& line : section.lines) {
            const size_t found = line.find(L"=" + oldName + L",");
            if (found != std::wstring::npos && random.Percent(80))
                line.replace(found + 1, oldName.size(), newName);
        }
    }
}

void ChangeOsLists(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    const wchar_t* const lists[] = {L"Win10, Win1064", L"win1064", L"Win1064 ", L" Win1064", L",,Win1064,,",
                                    L"Win1064,Win1064", L"", L",", L"Win10\xD800", L"Win1064,Win10,Win7"};
    KeyLine picked = PickKeyLine(ini, random, L"OS");
    if (picked.line)
        SetValue(*picked.line, random.Pick(lists));
}

void AddJunkLines(IniModel& ini, SeededRandom& random, const CampaignPlaces&)
{
    const wchar_t* const junk[] = {L"; a comment", L"no equals sign", L"=value", L"Entry==2", L"  Name1=F, 2, x",
                                   L"[unclosed", L"[]", L"\t", L"Name0=ToolFiles, 1:rel, common", L"Name-1=x,2,y"};
    if (IniSection* section = PickSection(ini, random))
        section->lines.insert(section->lines.begin() +
                                  random.Below(static_cast<uint32_t>(section->lines.size() + 1)),
                              random.Pick(junk));
}

const Mutation kMutations[] = {
    DeleteKey,       DeleteSection,  DuplicateKey,   DuplicateSection, ReorderKeys,       ReorderSections,
    SetCount,        RewriteFieldForms, SetLongValue, FillFileList,    ChangeSeparators,  AddNames,
    AddNames,        ChangeTargetKind, ChangeDriverPackage, RenameSection, ChangeOsLists, AddJunkLines,
};

const char* const kMutationNames[] = {
    "delete key",    "delete section", "duplicate key", "duplicate section", "reorder keys", "reorder sections",
    "count",         "field forms",    "long value",    "full file list",    "separators",   "names",
    "names",         "target kind",    "driver package", "section name",     "OS lists",     "junk lines",
};

CaseWorld GenerateWorld(SeededRandom& random)
{
    CaseWorld world;
    world.toolTarget = static_cast<CaseWorld::ToolState>(random.Below(3));
    world.olderTargets = random.Percent(40);
    world.heldTargets = world.olderTargets && random.Percent(50);
    world.foldersAtNames = random.Percent(15);
    const int stops[] = {1, 1, 1, 0, -1};
    world.spoolerStopResult = random.Pick(stops);
    world.spoolerLetsGo = random.Percent(70);
    const int failing[] = {0, 0, 0, 0, 0, 0, 0x25 /* CSIDL_SYSTEM */, 0x29 /* CSIDL_SYSTEMX86 */};
    world.failingSystemFolder = random.Pick(failing);
    world.driverStoreRefuses = random.Percent(10);
    world.longSystemFolders = random.Percent(10);
    world.setupDirWithBackslash = random.Percent(50);
    return world;
}

bool NeedsUnicode(const std::wstring& text)
{
    return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x80; });
}

// Whether the system code page holds every character of text.
bool FitsCodePage(const std::wstring& text)
{
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                        nullptr, &lost);
    return !lost;
}

// The double-byte names of the run's code page, each with the campaign's mark.
std::vector<std::wstring> CodePageNames()
{
    std::vector<std::wstring> names;
    const UINT codePage = GetACP();
    const auto add = [&](const char* bytes) {
        wchar_t wide[32] = {};
        if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, -1, wide, 32) > 0)
            names.push_back(std::wstring(wide) + L"_tqc.dll");
    };
    if (codePage == 932)
        std::for_each(std::begin(kNames932), std::end(kNames932), add);
    if (codePage == 936)
        std::for_each(std::begin(kNames936), std::end(kNames936), add);
    return names;
}

}  // namespace

const std::vector<std::wstring>& SourceNames()
{
    static const std::vector<std::wstring> names = [] {
        std::vector<std::wstring> all(std::begin(kSourceNames), std::end(kSourceNames));
        const std::vector<std::wstring> local = CodePageNames();
        all.insert(all.end(), local.begin(), local.end());
        return all;
    }();
    return names;
}

IniModel AdaptSample(IniModel sample, const CampaignPlaces& places)
{
    const std::vector<std::wstring> lists = sample.FileListSections();
    for (IniSection& section : sample.sections) {
        const bool isList = std::find(lists.begin(), lists.end(), section.name) != lists.end();
        for (std::wstring& line : section.lines) {
            if (isList) {
                // "PCPCardUI64.dll=" becomes "PCPCardUI64_tqc.dll=".
                const size_t dot = line.rfind(L'.');
                if (dot != std::wstring::npos)
                    line.insert(dot, kMarker);
                continue;
            }
            const size_t explicitTarget = line.find(L"1:C:\\");
            if (explicitTarget != std::wstring::npos) {
                const size_t end = line.find(L',', explicitTarget);
                line.replace(explicitTarget, end - explicitTarget, L"1:" + places.toolTarget);
            }
        }
    }
    return sample;
}

GeneratedCase GenerateCase(const IniModel& base, const CampaignPlaces& places, uint64_t seed)
{
    SeededRandom random(seed);
    GeneratedCase generated;
    generated.seed = seed;
    generated.ini = base;
    generated.osKey = random.Pick(kOsKeys);
    const int count = 1 + random.Below(4);
    for (int i = 0; i < count; ++i) {
        const uint32_t which = random.Below(static_cast<uint32_t>(std::size(kMutations)));
        kMutations[which](generated.ini, random, places);
        generated.mutations.push_back(kMutationNames[which]);
    }
    generated.world = GenerateWorld(random);
    const std::wstring text = generated.ini.Render();
    // Text that the system's double-byte code page holds is written in it too.
    generated.localText = NeedsUnicode(text) && GetACP() != 1252 && FitsCodePage(text) && random.Percent(50);
    if (generated.localText)
        generated.encoding = EncodingAnsi;
    else if (NeedsUnicode(text))
        generated.encoding = random.Percent(70) ? EncodingUtf16 : EncodingUtf8;
    else
        generated.encoding = random.Percent(90) ? EncodingAnsi : EncodingUtf16;
    // UTF-8 cannot carry a lone surrogate.
    if (generated.encoding == EncodingUtf8 &&
        std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }))
        generated.encoding = EncodingUtf16;
    return generated;
}

std::vector<std::wstring> ListedNames(const IniModel& ini)
{
    std::vector<std::wstring> names;
    for (const std::wstring& listName : ini.FileListSections()) {
        const IniSection* list = ini.Find(listName);
        if (!list)
            continue;
        for (std::wstring line : list->lines) {
            const size_t equals = line.find(L'=');
            if (equals != std::wstring::npos)
                line.erase(equals, 1);
            names.push_back(line);
        }
    }
    return names;
}

}  // namespace driver_setup_campaign
