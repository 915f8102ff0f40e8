// The controls of the program's windows, as the forms use them: free of any
// toolkit. Each window's implementation (ui/qt/, ui/win32/) creates them;
// the window owns them and they live as long as it does. Texts are UTF-8.
// Events are plain callbacks: a form connects each to its handler.
#pragma once

#include "layout.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace ui {

using Event = std::function<void()>;

// The mouse pointer over a control.
enum class Cursor { Arrow, Hand };

// An arrow key, as it moves the focus among image buttons.
enum class Arrow { Up, Down, Left, Right };

class Control {
public:
    virtual ~Control() = default;
    // Shown and hidden by its own flag: a control of a window not yet shown
    // is visible once shown. Showing a shown control, or hiding a hidden
    // one, changes nothing on screen.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool visible() const = 0;
    // The control's name as the form calls it ("lblRun"), for tests and for
    // accessibility tools.
    virtual void setName(const std::string &name) = 0;
};

// One row of a form's table of handlers: an event and the handler it calls.
template <class F> struct Handler {
    Event &event;
    void (F::*handler)();
};

// Connects each event of the table to its handler on the form.
template <class F> void connectHandlers(F *form, std::initializer_list<Handler<F>> table)
{
    for (const Handler<F> &row : table)
        row.event = [form, handler = row.handler] { (form->*handler)(); };
}

// A picture of the window's artwork, exactly its rectangle, hidden at
// creation. Window-less: it takes no input, and pointer movement over it
// goes to what lies beneath.
class Picture : public Control {};

// A window-less transparent hot area: the button's label. It reports pointer
// movement (with or without a button held), a press and a release of any
// mouse button, and a click: a left-button press and release with the
// pointer still over it at the release. A double-click is one click: the
// second press of it gives a press and a release but no second click.
// Shown at creation, with the hand cursor.
//
// The keyboard: it takes the focus from the keyboard (Tab, Shift+Tab, an
// arrow key) or from setFocus(), never from a click. onFocus comes each time
// it receives the focus. While it has the focus, a 1 px dotted rectangle
// inside it shows so, whatever the pointer does. Enter (as it goes down) or
// Space (as it comes up) is a click: onClick once per stroke however long
// the key is held, with no onMouseDown or onMouseUp (no pressed look).
// An arrow key while it has the focus is onArrow.
class HotArea : public Control {
public:
    Event onMouseMove, onMouseDown, onMouseUp, onClick;
    Event onFocus;
    std::function<void(Arrow)> onArrow;
    virtual void setCursor(Cursor cursor) = 0;
    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
    // What a screen reader finds: a push button with this name (its drawn
    // word) and description (its hint; empty when it has none).
    virtual void setAccessible(const std::string &name, const std::string &description) = 0;
    // The button's selected state for screen readers (the current category).
    virtual void setSelected(bool selected) = 0;
    virtual bool selected() const = 0;
};

// The looks of a text label.
enum class LabelStyle {
    Status,   // the main screen's status line: yellow, bold pane font, centred, wrapped
    Message,  // the information dialog's message: 12 pt bold, centred, wrapped
};

// Plain text (never markup), hidden at creation. Pointer movement over it
// reaches no handler and passes to nothing.
class Label : public Control {
public:
    virtual void setText(const std::string &text) = 0;
    virtual std::string text() const = 0;
    // True when the text, wrapped at spaces and at zero-width spaces
    // (U+200B), fits the label whole.
    virtual bool fits(const std::string &text) const = 0;
};

// A single-selection list of texts, green on black. Shown at creation.
// onClick comes when the selection changes to an entry, by pointer or keys
// (each entry the arrow keys pass over); with no entry selected, the first
// arrow key selects the first entry.
class ListBox : public Control {
public:
    Event onClick, onMouseMove;
    // The list received the keyboard focus (from the keyboard or from code).
    Event onFocus;
    virtual void clear() = 0;
    virtual void addItems(const std::vector<std::string> &items) = 0;
    virtual int count() const = 0;
    virtual std::string item(int index) const = 0;
    // The selected entry, -1 when none is.
    virtual int selectedIndex() const = 0;
    virtual void clearSelection() = 0;
    virtual void setFocus() = 0;
};

// A multi-line read-only text pane with its vertical scroll bar, green on
// black. Shown at creation.
class TextPane : public Control {
public:
    Event onMouseMove;
    // The pane received the keyboard focus.
    Event onFocus;
    // Shows the text from its top.
    virtual void setText(const std::string &text) = 0;
    virtual std::string text() const = 0;
};

// A one-line text box, green on black. Shown at creation.
class TextBox : public Control {
public:
    Event onMouseMove;
    // The box received the keyboard focus.
    Event onFocus;
    virtual void setText(const std::string &text) = 0;
    virtual std::string text() const = 0;
    virtual void setFocus() = 0;
};

// A bar drawn from two pictures of its window, the trough and the fill cut
// to the fraction done; no text, no input. Hidden at creation.
class ProgressBar : public Control {
public:
    // Repainted when the windows next paint, not at once.
    virtual void setProgress(int done, int total) = 0;
    virtual int done() const = 0;
    virtual int total() const = 0;
};

// One entry per drive of the drive table, written "c: [folder]". Choosing an
// entry, or setting another drive from code, is its Change. Pointer movement
// over it reaches nothing. Shown at creation.
class DriveList : public Control {
public:
    Event onChange;
    // The chosen drive as "c:".
    virtual std::string drive() const = 0;
    // Chooses the drive a path begins with ("C:\", "c:", "C:\GAMES"). False,
    // and nothing changes, when the path names no drive of the table.
    virtual bool setDrive(const std::string &path) = 0;
    // Shows a drive without a Change (to go back after a failed one). The
    // arrow keys and the wheel then go on from the entry that failed, so
    // that an unreadable drive can be passed over.
    virtual void restoreDrive(const std::string &path) = 0;
};

// The current folder's ancestors from the drive's root down, then its
// subfolders, indented like a tree. A double click or Enter on an entry
// makes it the current folder. Setting the path from code or opening an
// entry is its Change when the path differs from the one shown.
class FolderList : public Control {
public:
    Event onChange, onMouseMove;
    // The list received the keyboard focus.
    Event onFocus;
    // A DOS path without a trailing separator, except a drive's root ("C:\").
    virtual std::string path() const = 0;
    // False, and nothing changes, when the folder is missing or unreadable.
    virtual bool setPath(const std::string &path) = 0;
};

// The ordinary files directly inside a folder, sorted by name without regard
// to case. Hidden and disabled at creation (the chooser only reads it).
class FileList : public Control {
public:
    virtual std::string folder() const = 0;
    // False, and the list is left as it was, when the folder is missing or
    // cannot be read.
    virtual bool setFolder(const std::string &folder) = 0;
    virtual int count() const = 0;
    virtual std::string item(int index) const = 0;
};

class Window;

// The open-file dialog. Its properties keep their values between uses.
class CommonDialog {
public:
    std::string DialogTitle;
    // "label|pattern|label|pattern...". A pattern "*.*" matches every name,
    // those without a dot included.
    std::string Filter;
    int FilterIndex = 1;
    // A DOS path: the folder the dialog opens in.
    std::string InitDir;
    // The DOS path of the file picked last; kept when the dialog is cancelled.
    std::string FileName;

    // Shows the dialog modally over `owner`. True when a file was picked
    // (FileName then holds it); false when it was cancelled or the picked
    // file has no DOS path.
    bool ShowOpen(Window &owner);
};

} // namespace ui
