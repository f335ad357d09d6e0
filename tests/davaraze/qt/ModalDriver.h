// Acts on the next modal window once it shows, as a person at the keyboard would, while the
// test's own call sits in the window's exec().
#pragma once

#include <functional>

class QWidget;

namespace rivode::test {

// Runs act on the modal window that shows next (at most one, within a few seconds). act runs
// inside the window's event loop; it may close the window or leave it open.
void WhenModalShows(std::function<void(QWidget& window)> act);

// Lets the window's event loop run for a moment (timers, posted events) before acting further.
void LetEventsRun(int milliseconds = 60);

// Clicks the button of window whose object name is button ("YID_OK", "YID_CANCEL").
void Press(QWidget& window, const char* button);

}  // namespace rivode::test
