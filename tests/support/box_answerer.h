// Answers the message boxes that code under test shows on the test's own
// thread: a watcher thread finds each new box of this process, records its
// caption and text and presses the next scripted button.
#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "window_driver.h"

namespace testing_support {

class BoxAnswerer {
public:
    // buttons: the button identifiers to press, box after box (IDOK, IDYES,
    // IDNO, IDCANCEL, ...). Boxes beyond the script get defaultButton.
    // pollMs: how often the watcher looks for a new box (a campaign that
    // meets thousands of boxes looks more often).
    // beforeAnswer, when given, runs on the watcher thread with the index of
    // each box before its button is pressed.
    explicit BoxAnswerer(std::vector<int> buttons = {}, int defaultButton = IDOK, DWORD pollMs = 50,
                         std::function<void(size_t)> beforeAnswer = nullptr);
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    ~BoxAnswerer();

    // The boxes seen so far, in order.
    std::vector<MessageBoxSeen> Seen();
    size_t Count();

private:
    void Watch();

    std::vector<int> buttons_;
    int defaultButton_;
    DWORD pollMs_;
    std::function<void(size_t)> beforeAnswer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<MessageBoxSeen> seen_;
    std::thread watcher_;
};

}  // namespace testing_support
