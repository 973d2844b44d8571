#include "case_watch.h"

#include <cstdio>

#include <strsafe.h>

namespace testing_support {

namespace {

// The case that runs, for the exception filter, which has no object to ask.
char g_caseName[200];
std::atomic<const char*> g_caseStep{""};
std::atomic<bool> g_caseRunning{false};
std::atomic<DWORD> g_caseSince{0};

LONG WINAPI ReportCrashedCase(EXCEPTION_POINTERS* exception)
{
    std::fprintf(stderr, "exception 0x%08lx in %s (%s)\n",
                 static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode), g_caseName,
                 g_caseStep.load());
    std::fflush(stderr);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

CaseWatch::CaseWatch(DWORD limitMs) : limitMs_(limitMs)
{
    previous_ = SetUnhandledExceptionFilter(ReportCrashedCase);
    watcher_ = std::thread([this] { Watch(); });
}

CaseWatch::~CaseWatch()
{
    stop_ = true;
    watcher_.join();
    SetUnhandledExceptionFilter(previous_);
}

void CaseWatch::Begin(const char* name, const char* step)
{
    g_caseRunning = false;
    StringCchCopyA(g_caseName, ARRAYSIZE(g_caseName), name);
    g_caseStep = step;
    g_caseSince = GetTickCount();
    g_caseRunning = true;
}

void CaseWatch::Step(const char* step)
{
    g_caseStep = step;
}

void CaseWatch::End()
{
    g_caseRunning = false;
}

void CaseWatch::Watch()
{
    while (!stop_) {
        Sleep(200);
        if (g_caseRunning && GetTickCount() - g_caseSince.load() > limitMs_) {
            std::fprintf(stderr, "%s hangs (%s)\n", g_caseName, g_caseStep.load());
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

}  // namespace testing_support
