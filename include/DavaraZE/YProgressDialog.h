// The modal progress window of long operations: the user-interface thread shows it with DoModal
// while a worker thread does the work, updates its lines and finally calls PostClose; DoModal
// then returns and the user-interface thread joins the worker.
//
// Every member is thread-safe; DoModal is called once, on the user-interface thread.
#pragma once

#include <DavaraZE/YMessageBox.h>
#include <RivodeRavudaVU/YUnicodeString.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#pragma GCC visibility push(default)

class QWidget;

class YProgressDialog {
public:
    // A window with one line of text; the title is the application name.
    explicit YProgressDialog(const YUnicodeString& text, QWidget* parent = nullptr);
    YProgressDialog(const YUnicodeString& title, std::size_t lineCount, QWidget* parent);
    virtual ~YProgressDialog() = default;
    YProgressDialog(const YProgressDialog&) = delete;
    YProgressDialog& operator=(const YProgressDialog&) = delete;

    // Shows the window through the user-interface back end until PostClose; returns the
    // result PostClose was given. Returns at once when PostClose came first.
    int DoModal();

    // Ends DoModal from any thread. The first close wins.
    void PostClose(int result = YID_OK);

    // An index beyond the window's lines is ignored.
    void SetLine(std::size_t index, const YUnicodeString& text);
    void SetText(const YUnicodeString& text) { SetLine(0, text); }
    // done of total steps; total 0 shows no measure.
    void SetProgress(std::uint64_t done, std::uint64_t total);

    // What a back end shows. generation grows with every change.
    struct State {
        YUnicodeString title;
        YStringArray lines;
        std::uint64_t done = 0;
        std::uint64_t total = 0;
        bool closed = false;
        int result = 0;
        std::uint64_t generation = 0;
    };
    State GetState() const;
    // Waits until the state's generation differs from seenGeneration, or the time is up.
    State WaitForChange(std::uint64_t seenGeneration, std::chrono::milliseconds timeout) const;

    QWidget* GetParent() const { return parent_; }

private:
    void Changed();

    QWidget* parent_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    State state_;
};

// A progress window of seven lines of text under a title (file-by-file operations show the
// current item, its source and its destination on separate lines).
std::unique_ptr<YProgressDialog> Create7LineProgressDialog(const YUnicodeString& title,
                                                           QWidget* parent = nullptr);

// The usual shape of a long operation: work runs on a worker thread while the calling
// (user-interface) thread shows progress modally; the window closes when work returns and the
// worker is joined before this returns. work may update progress's lines and measure.
void YRunWithProgress(YProgressDialog& progress, const std::function<void(YProgressDialog&)>& work);

#pragma GCC visibility pop
