// Shared by the removal tests: install's globals reset for each test, the
// expected catalogue texts, and files held open by another handle.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>

#include "box_answerer.h"

namespace installer_testing {

// Resets every global the removal code reads: no owner window, a known
// title, RemoveNone and CopyAll off, this program's catalogue.
class RemovalTest : public ::testing::Test {
protected:
    void SetUp() override;
};

extern const wchar_t kTitle[];

// The English catalogue texts with their argument filled in.
std::wstring FileNotRemovedText(const std::wstring& path);      // message 24
std::wstring LeftoverQuestionText(const std::wstring& path);    // message 25
std::wstring FolderNotRemovedText(const std::wstring& path);    // message 26
extern const wchar_t kAbnormalRegText[];                         // message 27
// Caption of a message box shown without one.
extern const wchar_t kDefaultCaption[];

// Opens path for reading without FILE_SHARE_DELETE, so that it cannot be
// deleted while the object lives; folders too.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring& path);
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    ~HeldOpen();
    bool IsHeld() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Texts of the boxes seen, for a readable failure message.
std::string Describe(const std::vector<testing_support::MessageBoxSeen>& boxes);

// Exactly one message box was shown, with this text and caption.
void ExpectOneBox(testing_support::BoxAnswerer& boxes, const std::wstring& text, const std::wstring& caption);

}  // namespace installer_testing
