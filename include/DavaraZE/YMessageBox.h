// Message boxes: a report or a text shown to the user through the user-interface back end the
// host chose at initialisation (YUserInterface.h), returning the button pressed.
//
// The style word is the standard one: buttons in bits 0-3, icon in bits 4-7, default button in
// bits 8-11. Callers of this library pass 0, YMB_ICONWARNING or YMB_YESNO. Call from the host's
// user-interface thread.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <vector>

#pragma GCC visibility push(default)

class QWidget;
class IReportMessageParams;

// Buttons.
inline constexpr unsigned YMB_OK = 0x0;
inline constexpr unsigned YMB_OKCANCEL = 0x1;
inline constexpr unsigned YMB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned YMB_YESNOCANCEL = 0x3;
inline constexpr unsigned YMB_YESNO = 0x4;
inline constexpr unsigned YMB_RETRYCANCEL = 0x5;
inline constexpr unsigned YMB_TYPEMASK = 0xF;
// Icons.
inline constexpr unsigned YMB_ICONERROR = 0x10;
inline constexpr unsigned YMB_ICONQUESTION = 0x20;
inline constexpr unsigned YMB_ICONWARNING = 0x30;
inline constexpr unsigned YMB_ICONINFORMATION = 0x40;
inline constexpr unsigned YMB_ICONMASK = 0xF0;
// Default button (the first one unless said otherwise).
inline constexpr unsigned YMB_DEFBUTTON1 = 0x000;
inline constexpr unsigned YMB_DEFBUTTON2 = 0x100;
inline constexpr unsigned YMB_DEFBUTTON3 = 0x200;
inline constexpr unsigned YMB_DEFMASK = 0xF00;

// Buttons pressed.
inline constexpr int YID_OK = 1;
inline constexpr int YID_CANCEL = 2;
inline constexpr int YID_ABORT = 3;
inline constexpr int YID_RETRY = 4;
inline constexpr int YID_IGNORE = 5;
inline constexpr int YID_YES = 6;
inline constexpr int YID_NO = 7;

// caption null (as this library always passes) means the application name (YGetAppName).
// A report without an icon in style gets the icon of its severity.
int YMessageBox(IReportMessageParams& report, unsigned style = YMB_OK,
                const char16_t* caption = nullptr);
int YMessageBox(QWidget* parent, IReportMessageParams& report, unsigned style = YMB_OK,
                const char16_t* caption = nullptr);
int YMessageBox(const YUnicodeString& text, unsigned style = YMB_OK,
                const char16_t* caption = nullptr);
int YMessageBox(QWidget* parent, const YUnicodeString& text, unsigned style = YMB_OK,
                const char16_t* caption = nullptr);

// The optional message box: shown with a check box labelled checkBoxText ("&Do not display
// this message again"). When suppressed is already true nothing is shown and the style's
// default button is returned; when the user ticks the box, suppressed becomes true and the
// caller stores it.
int YOptionalMessageBox(QWidget* parent, const YUnicodeString& text, unsigned style,
                        const YUnicodeString& checkBoxText, bool& suppressed,
                        const char16_t* caption = nullptr);

// The buttons of a style, in the order they are shown.
std::vector<int> YMessageBoxButtons(unsigned style);
// The button the style marks as default (the first when the mark names no button).
int YMessageBoxDefaultButton(unsigned style);
// The answer when nobody can be asked: the one that changes nothing (Cancel, else No, else
// Abort, else OK).
int YMessageBoxSafeAnswer(unsigned style);

#pragma GCC visibility pop
