// COM lifetimes tied to scopes: the apartment of the calling thread, and an
// interface pointer released when its holder goes out of scope.
#pragma once
#include <objbase.h>

class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    // Only a successful CoInitialize is balanced: a thread that already runs
    // another apartment model keeps it.
    ~ComApartment()
    {
        if (initialized_)
            CoUninitialize();
    }

private:
    bool initialized_;
};

template <class Interface>
class ComPointer {
public:
    ComPointer() = default;
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    ~ComPointer()
    {
        if (pointer_)
            pointer_->Release();
    }

    // Where a creating call stores the new pointer (the holder must be empty).
    void** Receive() { return reinterpret_cast<void**>(&pointer_); }
    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};
