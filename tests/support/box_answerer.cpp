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

void BoxAnswerer::Watch()
{
    const DWORD self = GetCurrentProcessId();
    std::vector<HWND> answered;
    while (!stop_) {
        HWND box = WaitForDialog(self, 0);
        if (!box) {
            Sleep(pollMs_);
            continue;
        }
        bool known = false;
        for (HWND old : answered)
            known = known || old == box;
        // A box stays visible for a moment after its button was pressed.
        if (known && IsWindow(box)) {
            Sleep(pollMs_ < 20 ? pollMs_ : 20);
            continue;
        }
        // A box may be visible a moment before its text is set.
        std::wstring text = MessageBoxText(box);
        for (int wait = 0; text.empty() && wait < 100 && IsWindow(box); ++wait) {
            Sleep(10);
            text = MessageBoxText(box);
        }
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
        answered.push_back(box);
        // A Yes/No box has no IDOK/IDCANCEL button to click; WM_COMMAND with the
        // identifier answers every kind of box.
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    }
}

}  // namespace testing_support
