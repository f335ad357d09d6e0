// What the user's desktop says about how applications should look and behave, for the defaults
// of options that follow the desktop until the user sets them. Each answer is read when asked
// (nothing is cached) and never fails: a desktop that says nothing gives the stated fallback.
// Thread-safe as long as no other thread changes the environment meanwhile.
#pragma once

#pragma GCC visibility push(default)

namespace rivode::platform {

// The factor by which the desktop scales user-interface sizes: QT_SCALE_FACTOR when it holds a
// positive number, else GDK_SCALE (the integer factor GTK desktops set), else 1. Values outside
// 0.5 to 8 are taken as the nearest of the two, so a stray setting cannot make sizes absurd.
double GetDesktopScaleFactor();

// Whether fonts are drawn smoothed (anti-aliased). Fontconfig smooths unless the user's own
// configuration ($XDG_CONFIG_HOME/fontconfig/fonts.conf, else ~/.fonts.conf) assigns false to
// "antialias"; that is the only place where a user turns it off for every application.
bool IsFontSmoothingEnabled();

// Whether the session runs under a desktop environment that leaves application shortcuts to the
// applications: a Wayland session (WAYLAND_DISPLAY) or a desktop that announces itself
// (XDG_CURRENT_DESKTOP). Under a bare window manager Ctrl with plus and minus is commonly bound
// by the user's own key configuration, so features on those keys stay off by default there.
bool IsDesktopEnvironmentSession();

}  // namespace rivode::platform

#pragma GCC visibility pop
