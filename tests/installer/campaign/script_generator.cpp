#include "script_generator.h"

#include <windows.h>
#include <algorithm>
#include <vector>

#include "seeded_random.h"

namespace campaign {

const char kCampaignInstallKey[] = "InstallCampaignKey";

namespace {

using testing_support::SeededRandom;

// Names in each code page; the double-byte ones carry trail bytes 0x5C ("\")
// and 0x7C ("|").
const char* const kNames1252[] = {"App", "Card Tool", "readme.txt", "Setup.exe", "caf\xE9", "\xC4rger.dll", "x64",
                                  "CardTool.exe", "a b", "data"};
const char* const kNames932[] = {"\x83\x5C\x83\x74\x83\x67", "\x95\x5C", "\x83\x7C\x83\x67", "\x94\x5C\x97\xCD",
                                 "\x83\x5C", "\x8B\x5C\x83\x7C.txt", "\xB6\xB0\xC4\xDE", "\x83\x5C\x83\x5C.exe",
                                 "CardTool.exe", "\x95\x5C\\\x83\x5C"};
const char* const kNames936[] = {"\xC8\xED\xBC\xFE", "\x81\x5C", "\xD5\x7C", "\xB2\xE2\xCA\xD4.txt", "\x90\x5C\x81\x7C",
                                 "\xC8\x5C.exe", "CardTool.exe", "\xB2\x5C\\\xD5\x7C"};

// Path pieces that try to leave the folder they are given for, or name
// something that is no plain file.
const char* const kOddPieces[] = {
    "..", ".", "...", "..\\..\\..", "../../..", "..\\..\\..\\..\\..\\..\\..\\..\\Windows\\System32",
    "C:", "C:\\", "C:\\Windows\\win.ini", "c:x", "Z:\\x", "\\x", "\\\\server\\share\\x", "\\\\?\\C:\\x",
    "\\\\.\\COM1", "COM1", "NUL", "CON.txt", "a.txt:stream", "a.txt::$DATA", ":x", "x:", "sub\\..\\..\\x",
    "sub\\.\\x", " x ", "x.", "x ", "\t", "..\\", "\\..", "//server/share", "\\\\", "?", "*", "a,b", "=",
};
const char* const kSeparators[] = {"\\", "\\", "\\", "/", "\\\\", "//", "\\/"};

// The sample package's [Install] entries, [Group] entries and [Reg] line.
const char* const kSampleEntries[] = {
    "CardTool.exe", "CardReg.dll", "readme.txt", "Setup.exe", "TQSetup.ini", "x64\\Setup64.exe",
    "x86\\CardPrinter.inf", "x86\\spool\\PCPCardUI32.dll", "common\\CardPrinterTool.cfg",
    "common\\CardPrinterTool.cfg, W!SampleCardPrinter.cfg",
    "x86\\downlevel\\CardPrinterRt32.dll, S!SampleCardPrinterRt32.dll",
};
const char* const kSampleGroups[] = {
    "Card Tool,CardTool.exe?common?0", "Read Me,readme.txt?w!", "Uninstall Sample Card Printer Software,install.exe,/r",
};

const char* const kFlagValues[] = {"1", "0", "2", "-1", "1 ", " 1", "x", "99999999999", "", "01", "1x"};
const char* const kProgramFilesDirs[] = {
    "C:\\Program Files", "C:\\Program Files (x86)", "D:\\Programs", "\\\\server\\share\\Programs", "C:\\",
};

struct Line {
    std::string key;
    std::string value;
};

struct Section {
    std::string name;
    std::vector<Line> lines;
};

class Generator {
public:
    Generator(uint64_t n, unsigned codePage) : random_(n * 1000003u + codePage), codePage_(codePage) {}

    GeneratedScript Make()
    {
        ChooseProgramFilesDir();
        script_.programName = ProgramName();
        std::vector<Section> sections;
        sections.push_back(InstallSection());
        if (random_.Percent(70))
            sections.push_back(NumberedSection("Group", [this] { return GroupEntry(); }));
        if (random_.Percent(35))
            sections.push_back(NumberedSection("Reg", [this] { return RegLine(); }));
        if (random_.Percent(10))
            sections.push_back(Section{"Other", {{"1", Name()}}});
        if (random_.Percent(15))
            std::swap(sections.front(), sections[random_.Below(static_cast<uint32_t>(sections.size()))]);
        if (random_.Percent(5))
            sections.push_back(sections[random_.Below(static_cast<uint32_t>(sections.size()))]);
        script_.text = Render(sections);
        return script_;
    }

private:
    // ---- names and paths ----

    std::string Name()
    {
        if (random_.Percent(4))  // a name of another code page, or a cut double-byte character
            return random_.Percent(50) ? (codePage_ == 932 ? random_.Pick(kNames936) : random_.Pick(kNames932))
                                       : "name\x83";
        switch (codePage_) {
        case 932:
            return random_.Percent(60) ? random_.Pick(kNames932) : random_.Pick(kNames1252);
        case 936:
            return random_.Percent(60) ? random_.Pick(kNames936) : random_.Pick(kNames1252);
        default:
            return random_.Pick(kNames1252);
        }
    }

    std::string Separator() { return random_.Pick(kSeparators); }

    std::string RelativePath()
    {
        std::string path;
        const uint32_t parts = 1 + random_.Below(4);
        for (uint32_t i = 0; i < parts; ++i) {
            if (i > 0)
                path += Separator();
            path += random_.Percent(20) ? std::string(random_.Pick(kOddPieces)) : Name();
        }
        if (random_.Percent(5))
            path += Separator();
        return path;
    }

    // Text of exactly length bytes: names repeated, cut anywhere (a
    // double-byte character may be cut in two).
    std::string TextOfLength(size_t length)
    {
        std::string text;
        while (text.size() < length)
            text += Name() + (random_.Percent(30) ? Separator() : "");
        text.resize(length);
        return text;
    }

    // Lengths at and around the buffer limits of 52, 100 and 260 bytes (with
    // the terminator), and where a path joined to the install folder reaches
    // 259 and 260 characters.
    size_t LimitLength(size_t limit) { return limit - 2 + random_.Below(4); }

    std::string PathText()
    {
        const uint32_t kind = random_.Below(100);
        if (kind < 55)
            return RelativePath();
        if (kind < 75)
            return random_.Pick(kOddPieces) + std::string(random_.Percent(50) ? Separator() + Name() : "");
        if (kind < 85)
            return TextOfLength(LimitLength(260));
        if (kind < 95 && installDirLength_ > 0 && installDirLength_ < 258)
            return TextOfLength(LimitLength(260) - installDirLength_);
        return TextOfLength(random_.Below(300));
    }

    // ---- [Install] ----

    void ChooseProgramFilesDir()
    {
        const uint32_t kind = random_.Below(10);
        if (kind < 7)
            script_.programFilesDir = random_.Pick(kProgramFilesDirs);
        else  // long enough that the install folder reaches the path limit
            script_.programFilesDir = "C:\\" + std::string(120 + random_.Below(140), 'p');
    }

    std::string ProgramName()
    {
        switch (random_.Below(6)) {
        case 0:
            return std::string(47, 'n') + ".exe";
        case 1:
            return "setup.exe";
        case 2:
            return "a b.exe";
        case 3:
            return "x";
        default:
            return "install.exe";
        }
    }

    std::string Folder()
    {
        // Folders that reach a root or a folder other software shares.
        static const char* const kSharedReach[] = {
            ".", "..", "..\\Program Files", "..\\Program Files (x86)", "Common Files", "..\\..\\Windows\\System32",
            "..\\ProgramData", "..\\users", "..\\users\\Public", "\\Windows", "\\users\\root\\Desktop"};
        switch (random_.Below(13)) {
        case 12:
            return random_.Pick(kSharedReach);
        case 0:
            return "Sample Card Printer\\Driver Setup";
        case 1:
            return "\\" + RelativePath();
        case 2:
            return random_.Pick(kOddPieces);
        case 3:
            return TextOfLength(LimitLength(260));
        case 4:
            return RelativePath() + "\\";
        case 5:
            return random_.Percent(10) ? Separator() : Name() + Separator();
        default: {
            std::string folder = Name();
            if (random_.Percent(40))
                folder += "\\" + Name();
            // A plain folder: the install folder is known, so entries can
            // be made to reach the path limit exactly.
            if (script_.programFilesDir.find('\\') != std::string::npos)
                installDirLength_ = script_.programFilesDir.size() + 1 + folder.size() + 1;
            return folder;
        }
        }
    }

    std::string Title()
    {
        switch (random_.Below(64)) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
            return TextOfLength(LimitLength(100));
        case 8:
            return "Sample Card Printer Software";
        case 9:
            return "   ";
        default:
            return Name() + " " + Name();
        }
    }

    std::string InstallKey()
    {
        switch (random_.Below(10)) {
        case 0:
            return TextOfLength(206 + random_.Below(4));
        case 1:
            return TextOfLength(LimitLength(260));
        case 2:
            return "A/B\\C";
        case 3:
            return random_.Pick(kOddPieces);
        case 4:
        case 5:
            return "";
        default:
            return kCampaignInstallKey;
        }
    }

    std::string Menu()
    {
        switch (random_.Below(9)) {
        case 0:
            return "a!" + RelativePath();
        case 1:
            return "a!";
        case 2:
            return "\\" + RelativePath();
        case 3:
            return TextOfLength(LimitLength(260));
        case 4:
            return random_.Pick(kOddPieces);
        case 5:
        case 6:
            return "";
        default:
            return RelativePath();
        }
    }

    std::string Target()
    {
        static const char* const kPrefixes[] = {"S!", "s!", "W!", "w!", "X!", "!", "S", "S!!", "W!\\", "S!/"};
        switch (random_.Below(10)) {
        case 0:
        case 1:
        case 2:
            return random_.Pick(kPrefixes) + PathText();
        case 3:
            return random_.Pick(kPrefixes);
        default:
            return PathText();
        }
    }

    std::string InstallEntry()
    {
        switch (random_.Below(12)) {
        case 0:
            return random_.Pick(kSampleEntries);
        case 1:
            return "," + Target();
        case 2:
            return Name() + ",," + Target();
        case 3:
            return PathText();
        case 4:
            return TextOfLength(LimitLength(260));
        default: {
            static const char* const kCommas[] = {",", ", ", ",\t ", " , "};
            return RelativePath() + random_.Pick(kCommas) + Target();
        }
        }
    }

    Section InstallSection()
    {
        Section section{"Install", {}};
        std::vector<Line>& lines = section.lines;
        const std::string folder = Folder();
        lines.push_back({"Title", Title()});
        lines.push_back({"Folder", folder});
        const std::string installKey = InstallKey();
        lines.push_back({"InstallKey", installKey});
        lines.push_back({"Menu", Menu()});
        for (const char* flag : {"TSR", "RemoveNone", "CommonMenu", "CopyAll"}) {
            if (random_.Percent(30))
                lines.push_back({flag, random_.Pick(kFlagValues)});
        }
        AppendNumbered(&lines, "", [this] { return InstallEntry(); });
        if (random_.Percent(40))
            lines.push_back({"Open", PathText()});
        if (random_.Percent(20))
            lines.push_back({"RegFiles0", PathText()});
        // A missing or empty Title or Folder ends the load with a message
        // box, which costs far more time than a script: a few percent.
        std::vector<Line> required(lines.begin(), lines.begin() + 2);
        lines.erase(lines.begin(), lines.begin() + 2);
        Mutate(&lines);
        if (random_.Percent(3))
            required[random_.Below(2)].value.clear();
        if (random_.Percent(2))
            required.erase(required.begin() + random_.Below(2));
        lines.insert(lines.begin() + (lines.empty() ? 0 : random_.Below(static_cast<uint32_t>(lines.size()))),
                     required.begin(), required.end());

        if (installKey == kCampaignInstallKey && random_.Percent(50)) {
            script_.uninstallEntry = random_.Percent(70) ? GeneratedScript::EntrySameTitle : GeneratedScript::EntryOtherTitle;
            script_.registeredCommand = RegisteredCommand();
        }
        return section;
    }

    std::string RegisteredCommand()
    {
        switch (random_.Below(6)) {
        case 0:
            return "\"C:\\Registered\\..\\..\\install.exe\" /r";
        case 1:
            return "C:install.exe /r";
        case 2:
            return "\"" + TextOfLength(LimitLength(260)) + "\" /r";
        case 3:
            return "\"";
        default:
            return "\"C:\\Registered Folder\\" + Name() + "\\install.exe\" /r";
        }
    }

    // ---- [Group] ----

    std::string Segment()
    {
        static const char* const kWorking[] = {"d!", "m!", "w!", "d!..\\..", "w!..\\..\\..", "m!sub", "x!y",
                                               "C:\\",  "\\x", "\\\\srv", "\\\\srv\\share\\x", "common", "",
                                               "..\\..\\..", "w!System32"};
        static const char* const kIcons[] = {"0", "1", "99999999999", "-1", "0=res\\tool.ico", "1=C:\\icons\\a.ico",
                                             "2=..\\..\\x.ico", "3=C:x.ico", "=x", "0 = x", "7=", "4=\\\\srv\\s\\i.ico",
                                             "5=\\top.ico", "6=a.ico:stream"};
        switch (random_.Below(6)) {
        case 0:
            return random_.Pick(kWorking);
        case 1:
            return random_.Pick(kWorking) + RelativePath();
        case 2:
            return random_.Pick(kIcons);
        case 3:
            return std::to_string(random_.Below(100)) + "=" + PathText();
        default:
            return RelativePath();
        }
    }

    std::string GroupEntry()
    {
        if (random_.Percent(10))
            return random_.Pick(kSampleGroups);
        if (random_.Percent(5))
            return Name();  // no comma
        std::string entry = (random_.Percent(90) ? Name() : PathText()) + ",";
        entry += random_.Percent(15) ? script_.programName : PathText();
        const uint32_t segments = random_.Below(4);
        for (uint32_t i = 0; i < segments; ++i)
            entry += "?" + Segment();
        if (random_.Percent(40)) {
            static const char* const kArguments[] = {"/r", "/R", " /r ", "", "a,b", "-x"};
            entry += "," + std::string(random_.Percent(80) ? random_.Pick(kArguments) : PathText());
        }
        if (random_.Percent(5))
            entry = TextOfLength(LimitLength(260));
        return entry;
    }

    // ---- [Reg] ----

    std::string RegLine()
    {
        static const char* const kRoots[] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT",
                                             "hkey_current_user", "HKEY_USERS",        "HKCU",
                                             "HKEY_CURRENT_USER_X", ""};
        static const char* const kKeys[] = {
            "Software\\Sample Card Printer", "Software\\Sample Card Printer\\A", "software\\sample card printer",
            "Software", "SOFTWARE", "SYSTEM", "Software\\Microsoft", "Software\\Classes", "CLSID", "Interface",
            "*", "Directory", "Folder", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
            "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Software\\Other Vendor\\Keep", "Campaign\\Gone",
            "Campaign", "Software\\Sample Card Printer\\", "Software\\\\Sample Card Printer", "",
            "\\Software", "Software/Sample Card Printer",
        };
        static const char* const kRootSeparators[] = {"\\", "\\", "\\", "/", "\\\\", "", "X", "\x83"};
        // Mostly a known root and one backslash, so that the lines reach the
        // removal; the other forms are refused with a message box each.
        std::string line = random_.Percent(95) ? kRoots[random_.Below(3)] : random_.Pick(kRoots);
        if (random_.Percent(2))
            line.resize(10);
        line += random_.Percent(90) ? "\\" : random_.Pick(kRootSeparators);
        line += random_.Percent(75) ? std::string(random_.Pick(kKeys)) : RelativePath();
        if (random_.Percent(2))
            line = TextOfLength(LimitLength(260));
        return line;
    }

    // ---- lists and mutations ----

    template <class Make>
    void AppendNumbered(std::vector<Line>* lines, const std::string& prefix, Make make)
    {
        const uint32_t count = random_.Percent(10) ? 0 : random_.Below(random_.Percent(10) ? 40 : 8);
        for (uint32_t i = 1; i <= count; ++i) {
            if (random_.Percent(5))
                continue;  // a gap: the entries after it are not seen
            std::string key = prefix + std::to_string(i);
            if (random_.Percent(2))
                key = "0" + key;
            lines->push_back({key, make()});
        }
    }

    template <class Make>
    Section NumberedSection(const char* name, Make make)
    {
        Section section{name, {}};
        AppendNumbered(&section.lines, "", make);
        Mutate(&section.lines);
        return section;
    }

    // Keys deleted, emptied, duplicated (the first one counts) and reordered.
    void Mutate(std::vector<Line>* lines)
    {
        for (size_t i = 0; i < lines->size();) {
            const uint32_t roll = random_.Below(100);
            if (roll < 4) {
                lines->erase(lines->begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
            if (roll < 7)
                (*lines)[i].value.clear();
            else if (roll < 10)
                lines->insert(lines->begin() + static_cast<std::ptrdiff_t>(i) + (random_.Percent(50) ? 0 : 1),
                              Line{(*lines)[i].key, Name()});
            ++i;
        }
        if (random_.Percent(15) && lines->size() > 1) {
            for (size_t i = lines->size() - 1; i > 0; --i)
                std::swap((*lines)[i], (*lines)[random_.Below(static_cast<uint32_t>(i + 1))]);
        }
    }

    // A value in quotes (which the profile functions take off when they
    // match), or with a NUL or ^Z byte in it.
    std::string OddValue(const std::string& value)
    {
        static const char* const kQuotes[][2] = {{"\"", "\""}, {"'", "'"}, {"\"", ""}, {"", "'"}, {"\"", "'"}};
        const uint32_t roll = random_.Below(100);
        if (roll < 4) {
            const auto& quotes = random_.Pick(kQuotes);
            return quotes[0] + value + quotes[1];
        }
        if (roll < 6) {
            std::string odd = value;
            odd.insert(random_.Below(static_cast<uint32_t>(odd.size() + 1)), 1, random_.Percent(50) ? '\0' : '\x1A');
            return odd;
        }
        return value;
    }

    // The script's bytes as a file: mostly as they are; now and then behind
    // a byte-order mark (UTF-8 or UTF-16, the text converted or, for UTF-8,
    // not), or ending in a ^Z with more lines after it.
    std::string Encode(const std::string& text)
    {
        const uint32_t roll = random_.Below(100);
        if (roll < 2)
            return "\xEF\xBB\xBF" + text;
        if (roll < 5) {
            std::wstring wide(text.size(), L'\0');
            wide.resize(MultiByteToWideChar(codePage_, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                            static_cast<int>(wide.size())));
            if (roll == 4) {
                std::string utf16 = "\xFF\xFE";
                for (wchar_t c : wide)
                    utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
                return utf16;
            }
            std::string utf8(4 * wide.size(), '\0');
            utf8.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0],
                                            static_cast<int>(utf8.size()), nullptr, nullptr));
            return "\xEF\xBB\xBF" + utf8;
        }
        if (roll < 7)
            return text + "\x1A" + (random_.Percent(50) ? "[Install]\r\n1=after_eof.txt\r\n" : "");
        return text;
    }

    std::string Render(const std::vector<Section>& sections)
    {
        static const char* const kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
        const std::string end = random_.Percent(90) ? "\r\n" : random_.Pick(kEnds);
        std::string text;
        if (random_.Percent(10))
            text += "; generated\r\n";
        for (const Section& section : sections) {
            static const char* const kHeaders[] = {"[ %s ]", "[%s", "%s]", "[%s] ;x", "[%s]x"};
            const std::string header = random_.Percent(97) ? "[%s]" : random_.Pick(kHeaders);
            const size_t at = header.find("%s");
            text += header.substr(0, at) + section.name + header.substr(at + 2) + end;
            for (const Line& line : section.lines) {
                static const char* const kEquals[] = {"=", "=", "=", " = ", "= ", " ="};
                text += line.key + random_.Pick(kEquals) + OddValue(line.value) + end;
                if (random_.Percent(2))
                    text += random_.Percent(50) ? "no equals sign" + end : ";" + Name() + end;
            }
            if (random_.Percent(1))
                text += "Huge=" + std::string(5000 + random_.Below(5000), 'h') + end;
        }
        return Encode(text);
    }

    SeededRandom random_;
    unsigned codePage_;
    GeneratedScript script_;
    size_t installDirLength_ = 0;
};

}  // namespace

GeneratedScript GenerateScript(uint64_t n, unsigned codePage)
{
    return Generator(n, codePage).Make();
}

}  // namespace campaign
