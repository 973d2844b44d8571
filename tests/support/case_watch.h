// Watches the cases of a bad-input campaign: a case that crashes, or runs for
// longer than a limit, ends the test program with a line on stderr that names
// it, so that it can be run again on its own.
#pragma once
#include <windows.h>
#include <atomic>
#include <thread>

namespace testing_support {

class CaseWatch {
public:
    explicit CaseWatch(DWORD limitMs);
    CaseWatch(const CaseWatch&) = delete;
    CaseWatch& operator=(const CaseWatch&) = delete;
    ~CaseWatch();

    // A case begins; name is how the report names it ("case 123",
    // "generated script 123 of code page 932"), step what it does first.
    void Begin(const char* name, const char* step);
    // What the running case does now.
    void Step(const char* step);
    void End();

private:
    void Watch();

    DWORD limitMs_;
    std::atomic<bool> stop_{false};
    std::thread watcher_;
    LPTOP_LEVEL_EXCEPTION_FILTER previous_ = nullptr;
};

}  // namespace testing_support
