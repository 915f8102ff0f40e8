// For tests: the Qt widgets behind the toolkit-free forms and controls, so
// that a test sends real events to them and reads what they show.
#pragma once

#include "ui/controls.h"
#include "ui/window.h"

#include <QWidget>

namespace ui::qt {

// The top-level widget of a form (a QDialog for the dialogs).
QWidget *widget(const Window &form);
// The widget of a control: ui::HotArea and ui::Picture are QLabels,
// ui::Label a QLabel, ui::ListBox a QListWidget, ui::TextPane a
// QPlainTextEdit, ui::TextBox a QLineEdit, ui::DriveList a QComboBox,
// ui::FolderList and ui::FileList QListWidgets, ui::ProgressBar a QWidget.
QWidget *widget(const Control *control);
template <class W> W *widget(const Control *control) { return static_cast<W *>(widget(control)); }

// The loaded form whose top-level widget is `w`, if it is an F; else null.
Window *formOf(const QWidget *w);
template <class F> F *formOf(const QWidget *w) { return dynamic_cast<F *>(formOf(w)); }

} // namespace ui::qt
