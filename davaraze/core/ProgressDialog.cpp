#include <DavaraZE/YAppName.h>
#include <DavaraZE/YProgressDialog.h>
#include <DavaraZE/YUserInterface.h>

#include <thread>

YProgressDialog::YProgressDialog(const YUnicodeString& text, QWidget* parent)
    : YProgressDialog(YGetAppName(), 1, parent) {
    state_.lines[0] = text;
}

YProgressDialog::YProgressDialog(const YUnicodeString& title, std::size_t lineCount,
                                 QWidget* parent)
    : parent_(parent) {
    state_.title = title;
    state_.lines.resize(lineCount == 0 ? 1 : lineCount);
}

int YProgressDialog::DoModal() {
    // The back end is asked even when the work has already closed the window: each back end
    // shows nothing for a closed window, and every window then reaches it, however fast the
    // work was.
    YGetUserInterface()->RunProgress(*this);
    // Whatever the back end returned, the worker's close decides the outcome; wait for it in
    // case a back end gave up showing the window early.
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return state_.closed; });
    return state_.result;
}

void YProgressDialog::PostClose(int result) {
    std::lock_guard lock(mutex_);
    if (state_.closed) {
        return;
    }
    state_.closed = true;
    state_.result = result;
    Changed();
}

void YProgressDialog::SetLine(std::size_t index, const YUnicodeString& text) {
    std::lock_guard lock(mutex_);
    if (index >= state_.lines.size() || state_.lines[index] == text) {
        return;
    }
    state_.lines[index] = text;
    Changed();
}

void YProgressDialog::SetProgress(std::uint64_t done, std::uint64_t total) {
    std::lock_guard lock(mutex_);
    if (state_.done == done && state_.total == total) {
        return;
    }
    state_.done = done;
    state_.total = total;
    Changed();
}

YProgressDialog::State YProgressDialog::GetState() const {
    std::lock_guard lock(mutex_);
    return state_;
}

YProgressDialog::State YProgressDialog::WaitForChange(std::uint64_t seenGeneration,
                                                      std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, timeout, [&] { return state_.generation != seenGeneration; });
    return state_;
}

void YProgressDialog::Changed() {
    ++state_.generation;
    changed_.notify_all();
}

std::unique_ptr<YProgressDialog> Create7LineProgressDialog(const YUnicodeString& title,
                                                           QWidget* parent) {
    return std::make_unique<YProgressDialog>(title, 7, parent);
}

void YRunWithProgress(YProgressDialog& progress,
                      const std::function<void(YProgressDialog&)>& work) {
    std::thread worker([&progress, &work] {
        // The window must close even when the work throws (allocation failure), or DoModal
        // would wait for ever; the exception then ends the process as it would have anyway.
        struct CloseAtEnd {
            YProgressDialog& progress;
            ~CloseAtEnd() { progress.PostClose(YID_OK); }
        } closeAtEnd{progress};
        work(progress);
    });
    progress.DoModal();
    worker.join();
}
