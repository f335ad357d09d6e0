// The forms of the Session Options pages, one builder per page class (YPageFormBuilder).
#pragma once

class QDialog;
class QWidget;
class YDialog;
class YPropertyTreePage;

namespace rivode::ui {

QWidget* BuildConnectPage(YPropertyTreePage& page, QWidget* parent);
QWidget* BuildLogonScriptsPage(YPropertyTreePage& page, QWidget* parent);
QWidget* BuildLogFilePage(YPropertyTreePage& page, QWidget* parent);
QWidget* BuildValuesPage(YPropertyTreePage& page, QWidget* parent);
QWidget* BuildMappedKeysPage(YPropertyTreePage& page, QWidget* parent);
// "Map Key" and "Map Selected Key".
void BuildCaptureKeyForm(YDialog& dialog, QDialog& window);
void BuildSelectedKeyForm(YDialog& dialog, QDialog& window);
// "Expect/Send Properties".
void BuildExpectSendForm(YDialog& dialog, QDialog& window);
// The default session's question: change every session, or the default session only.
void BuildApplyDefaultChangesForm(YDialog& dialog, QDialog& window);

}  // namespace rivode::ui
