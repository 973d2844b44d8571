#include "box_answerer.h"

namespace testing_support {

BoxAnswerer::BoxAnswerer(std::vector<int> buttons, int defaultButton, DWORD pollMs,
                         std::function<void(size_t)> beforeAnswer)
    : buttons_(std::move(buttons)), defaultButton_(defaultButton), pollMs_(pollMs),
      beforeAnswer_(std::move(beforeAnswer))
{
    watcher_ = std::thread([this] { Watch(); });
}

BoxAnswerer::~BoxAnswerer()
{
    stop_ = true;
    watcher_.join();
}

std::vector<MessageBoxSeen> BoxAnswerer::Seen()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

size_t BoxAnswerer::Count()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_.size();
}

namespace {

// Marks a box this watcher has answered. A box stays visible for a moment
// after its button was pressed, and one destroyed while the windows were
// listed still comes up once: neither is a new box. The mark goes with the
// window, so a new box that the system gives the handle of an old one is
// still answered.
const wchar_t kAnsweredMark[] = L"BoxAnswerer.answered";

}  // namespace

void BoxAnswerer::Watch()
{
    const DWORD self = GetCurrentProcessId();
    while (!stop_) {
        HWND box = WaitForDialog(self, 0);
        if (!box) {
            Sleep(pollMs_);
            continue;
        }
        if (!IsWindow(box) || GetPropW(box, kAnsweredMark)) {
            Sleep(pollMs_ < 20 ? pollMs_ : 20);
            continue;
        }
        // A box may be visible a moment before its text is set.
        std::wstring text = MessageBoxText(box);
        for (int wait = 0; text.empty() && wait < 100 && IsWindow(box); ++wait) {
            Sleep(10);
            text = MessageBoxText(box);
        }
        // A window that cannot be marked is gone: an answered box that went
        // between the listing and the look at its mark.
        if (!SetPropW(box, kAnsweredMark, reinterpret_cast<HANDLE>(1)))
            continue;
        MessageBoxSeen seen{WindowText(box), text};
        int button = defaultButton_;
        size_t index = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            index = seen_.size();
            if (index < buttons_.size())
                button = buttons_[index];
            seen_.push_back(seen);
        }
        if (beforeAnswer_)
            beforeAnswer_(index);
        // A Yes/No box has no IDOK/IDCANCEL button to click; WM_COMMAND with the
        // identifier answers every kind of box.
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    }
}

}  // namespace testing_support
