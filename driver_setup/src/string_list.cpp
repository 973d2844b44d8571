#include "string_list.h"

#include <string.h>

bool StringList::Add(const wchar_t* text)
{
    HANDLE heap = GetProcessHeap();
    if (count_ == capacity_) {
        const int capacity = capacity_ ? capacity_ * 2 : 8;
        const SIZE_T bytes = capacity * sizeof(wchar_t*);
        void* grown = items_ ? HeapReAlloc(heap, 0, items_, bytes) : HeapAlloc(heap, 0, bytes);
        if (!grown)
            return false;
        items_ = static_cast<wchar_t**>(grown);
        capacity_ = capacity;
    }
    const SIZE_T bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    wchar_t* copy = static_cast<wchar_t*>(HeapAlloc(heap, 0, bytes));
    if (!copy)
        return false;
    memcpy(copy, text, bytes);
    items_[count_++] = copy;
    return true;
}

void StringList::Clear()
{
    HANDLE heap = GetProcessHeap();
    for (int i = 0; i < count_; ++i)
        HeapFree(heap, 0, items_[i]);
    if (items_)
        HeapFree(heap, 0, items_);
    items_ = nullptr;
    count_ = 0;
    capacity_ = 0;
}
