// What the Session Options pages' forms share: texts from the message table, labels bound to
// their fields (so "&Name:" moves the focus with Alt+N), and the names by which a refused OK
// finds the field to focus.
#pragma once

#include <RivodeRavudaVU/YUnicodeString.h>

#include <QString>

#include <cstdint>
#include <functional>

class SessionOptionsPage;
class QCheckBox;
class QDialog;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace rivode::ui {

QString MessageText(std::uint32_t id);
QString ToQ(const YUnicodeString& text);
YUnicodeString FromQ(const QString& text);

// A check box showing value and setting it when toggled; value must outlive the box.
QCheckBox* BoundCheck(const QString& text, bool& value);
// A line edit showing value and setting it as the user types; value must outlive the edit.
QLineEdit* BoundEdit(YUnicodeString& value);

// A label for buddy: its mnemonic moves the focus to buddy.
QLabel* BuddyLabel(const QString& text, QWidget* buddy);

// OK (when withOk) and Cancel in the message table's words, named "YID_OK" and "YID_CANCEL",
// accepting and rejecting window.
QDialogButtonBox* DialogButtons(QDialog& window, bool withOk);

// Names widget as the page's field number field (the pages' Field enums).
void MarkField(QWidget* widget, int field);
// The widget marked as field inside page; nullptr when none.
QWidget* FindField(QWidget* page, int field);

// Runs refresh now and whenever page asks its form to show the session as it is now (the
// dialog's refresh calls, the page shown again), while form lives. On a read-only session the
// form stays as DisableFields left it.
void FollowPageRefresh(SessionOptionsPage& page, QWidget* form, std::function<void()> refresh);

// Disables every widget of page that edits a value (boxes, fields, lists and their buttons);
// labels stay as they are, so a read-only session is still read in full.
void DisableFields(QWidget& page);

}  // namespace rivode::ui
