// The expected catalogue texts and the three languages install speaks.
#pragma once
#include <windows.h>

#include <vector>

enum Language { English, Japanese, Chinese, kLanguageCount };

struct LanguageInfo {
    LANGID id;
    UINT codePage;           // the ANSI code page of that user interface
    const char* name;        // as the tests name it: "en", "ja", "zh"
};

inline const LanguageInfo& InfoOf(Language language)
{
    static const LanguageInfo kInfo[kLanguageCount] = {
        {0x0409, 1252, "en"},
        {0x0411, 932, "ja"},
        {0x0804, 936, "zh"},
    };
    return kInfo[language];
}

struct CatalogueText {
    UINT id;
    const wchar_t* text[kLanguageCount];
};

// Every catalogue entry, by identifier.
const std::vector<CatalogueText>& Catalogue();

// The text of id in language; nullptr for an identifier the catalogue lacks.
const wchar_t* ExpectedText(UINT id, Language language);

// The language a test run was started in, named by the environment variable
// INSTALL_TEST_LANGUAGE ("en", "ja" or "zh"); false when it names none.
bool LanguageOfThisRun(Language* language);
