// The text controls of the program's dark windows and their look: green text
// on black in Liberation Sans 8.25 pt (the stand-in for Arial and MS Sans
// Serif), the selection in a lighter green with black text, and scroll bars
// in the same colours; the status line and the message label.
#pragma once

#include "control.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <future>
#include <thread>

class QAbstractScrollArea;
class QFont;

namespace ui::qt {

// Gets the fonts ready on a thread of its own, at the priority of the
// program's other threads (the GUI thread may come to wait for it, so it must
// never be starved), while the program connects to the display and builds its
// first window: at once the system's font
// configuration, then, once told that the application object exists, Qt's
// font database and the fallbacks of the application's font and of the pane
// font (the database is shared by all threads). The first text pane built on
// the GUI thread then finds them ready.
class FontWarmUp {
public:
    // Create it first thing in main(), before the application object.
    FontWarmUp();
    // Waits for the thread, told to stop if it was never told to go on.
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // The application object exists: the thread goes on to Qt's fonts.
    void applicationReady();
    // Waits for the thread to end (told to stop if it was never told to go
    // on); call it before the application object goes, since the thread may
    // be using Qt's fonts.
    void wait();

private:
    std::promise<bool> mGoOn;
    bool mTold = false;
    std::thread mThread;
};

// Liberation Sans 8.25 pt, regular or bold.
QFont paneFont(bool bold = false);

// Green on black with the pane font, for every state of the window.
void paintGreenOnBlack(QWidget *w);

// The vertical scroll bar of the area in the panes' colours, so that it does
// not glare on the dark screen.
void darkScrollBar(QAbstractScrollArea *area);

class Label : public ControlOf<QLabel, ui::Label> {
public:
    Label(QWidget *parent, const layout::Rect &rect, LabelStyle style);
    void setText(const std::string &text) override;
    std::string text() const override;
    bool fits(const std::string &text) const override;

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};

class ListBox : public ControlOf<QListWidget, ui::ListBox> {
public:
    ListBox(QWidget *parent, const layout::Rect &rect);
    void clear() override;
    void addItems(const std::vector<std::string> &items) override;
    int count() const override;
    std::string item(int index) const override;
    int selectedIndex() const override;
    void clearSelection() override;
    void setFocus() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
};

class TextPane : public ControlOf<QPlainTextEdit, ui::TextPane> {
public:
    TextPane(QWidget *parent, const layout::Rect &rect);
    void setText(const std::string &text) override;
    std::string text() const override;

protected:
    void focusInEvent(QFocusEvent *event) override;
};

class TextBox : public ControlOf<QLineEdit, ui::TextBox> {
public:
    TextBox(QWidget *parent, const layout::Rect &rect);
    void setText(const std::string &text) override;
    std::string text() const override;
    void setFocus() override;

protected:
    void focusInEvent(QFocusEvent *event) override;
};

} // namespace ui::qt
