// An ordered list of owned strings on the process heap.
#pragma once
#include <windows.h>

class StringList {
public:
    StringList() = default;
    StringList(const StringList&) = delete;
    // Takes over the strings of other, which is left empty.
    StringList(StringList&& other) : items_(other.items_), count_(other.count_), capacity_(other.capacity_)
    {
        other.items_ = nullptr;
        other.count_ = 0;
        other.capacity_ = 0;
    }
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
