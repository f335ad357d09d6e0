#include "davaraze/qt/ProgressWindow.h"

#include "davaraze/qt/QtText.h"

#include <DavaraZE/YProgressDialog.h>

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <vector>

namespace davaraze::qt {
namespace {

// The worker reports through the dialog's thread-safe state; the window reads it on its own
// thread at this pace, so no Qt object is ever touched from the worker.
constexpr int kPollMilliseconds = 25;

class ProgressWindow : public QDialog {
public:
    ProgressWindow(YProgressDialog& progress) : QDialog(progress.GetParent()), progress_(progress) {
        setObjectName(QStringLiteral("progress"));
        setWindowFlag(Qt::WindowCloseButtonHint, false);
        auto* layout = new QVBoxLayout(this);
        const YProgressDialog::State state = progress_.GetState();
        for (std::size_t i = 0; i < state.lines.size(); ++i) {
            auto* line = new QLabel(this);
            line->setObjectName(QStringLiteral("line%1").arg(i));
            line->setTextFormat(Qt::PlainText);
            line->setMinimumWidth(line->fontMetrics().averageCharWidth() * 50);
            layout->addWidget(line);
            lines_.push_back(line);
        }
        bar_ = new QProgressBar(this);
        bar_->setObjectName(QStringLiteral("measure"));
        layout->addWidget(bar_);
        Show(state);
        connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
        poll_.start(kPollMilliseconds);
    }

    void reject() override {}  // Escape and the close button: the work decides when it ends

private:
    void Poll() {
        const YProgressDialog::State state = progress_.GetState();
        if (state.generation != shown_) {
            Show(state);
        }
        if (state.closed) {
            poll_.stop();
            done(state.result);
        }
    }

    void Show(const YProgressDialog::State& state) {
        setWindowTitle(YToQString(state.title));
        for (std::size_t i = 0; i < lines_.size() && i < state.lines.size(); ++i) {
            lines_[i]->setText(YToQString(state.lines[i]));
        }
        if (state.total == 0) {
            bar_->setVisible(false);
        } else {
            bar_->setVisible(true);
            // The measure counts in thousandths so totals beyond int still fit.
            bar_->setRange(0, 1000);
            bar_->setValue(static_cast<int>(std::min<std::uint64_t>(state.done, state.total) *
                                            1000 / state.total));
        }
        shown_ = state.generation;
    }

    YProgressDialog& progress_;
    std::vector<QLabel*> lines_;
    QProgressBar* bar_ = nullptr;
    QTimer poll_;
    std::uint64_t shown_ = ~std::uint64_t{0};
};

}  // namespace

int RunQtProgress(YProgressDialog& progress) {
    ProgressWindow window(progress);
    if (progress.GetState().closed) {
        return progress.GetState().result;
    }
    window.exec();
    return progress.GetState().result;
}

}  // namespace davaraze::qt
