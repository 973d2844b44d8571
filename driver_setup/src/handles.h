// Small owners of Win32 handles, so that every return path closes what it opened.
#pragma once
#include <windows.h>

// A kernel object handle closed with CloseHandle.
class KernelHandle {
public:
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    ~KernelHandle()
    {
        if (IsValid())
            CloseHandle(handle_);
    }

    HANDLE Get() const { return handle_; }
    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// A service control manager or service handle.
class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    ~ServiceHandle()
    {
        if (handle_)
            CloseServiceHandle(handle_);
    }

    SC_HANDLE Get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

// Memory that the system allocated with LocalAlloc for us (CommandLineToArgvW).
class LocalMemory {
public:
    explicit LocalMemory(void* memory) : memory_(memory) {}
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    ~LocalMemory() { Free(); }

    void Free()
    {
        if (memory_)
            LocalFree(memory_);
        memory_ = nullptr;
    }

private:
    void* memory_;
};

// A block from the process heap.
class HeapBuffer {
public:
    explicit HeapBuffer(SIZE_T size) : data_(size ? HeapAlloc(GetProcessHeap(), 0, size) : nullptr) {}
    HeapBuffer(const HeapBuffer&) = delete;
    HeapBuffer& operator=(const HeapBuffer&) = delete;
    ~HeapBuffer()
    {
        if (data_)
            HeapFree(GetProcessHeap(), 0, data_);
    }

    void* Get() const { return data_; }

private:
    void* data_;
};

// The single-instance mutex of a program. A copy that finds the mutex already
// there does not own it. It closes its handle at once, so that the mutex does
// not outlive the first copy and refuse a later one while this copy's message
// box is still open.
class InstanceMutex {
public:
    explicit InstanceMutex(const wchar_t* name)
        : handle_(CreateMutexW(nullptr, TRUE, name)),
          alreadyRunning_(handle_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS)
    {
        if (alreadyRunning_) {
            CloseHandle(handle_);
            handle_ = nullptr;
        }
    }
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;
    ~InstanceMutex()
    {
        if (!handle_)
            return;
        ReleaseMutex(handle_);
        CloseHandle(handle_);
    }

    // Another copy holds the mutex. No handle at all means no guard, not a second copy.
    bool AlreadyRunning() const { return alreadyRunning_; }

private:
    HANDLE handle_;
    bool alreadyRunning_;
};
