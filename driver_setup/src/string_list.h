// An ordered list of owned strings on the process heap.
#pragma once
#include <windows.h>

class StringList {
public:
    StringList() = default;
    StringList(const StringList&) = delete;
    StringList& operator=(const StringList&) = delete;
    ~StringList() { Clear(); }

    // Appends a copy of text; false when memory runs out.
    bool Add(const wchar_t* text);
    void Clear();
    int Count() const { return count_; }
    // The string at index, which the caller may shorten in place.
    wchar_t* At(int index) const { return items_[index]; }

private:
    wchar_t** items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};
