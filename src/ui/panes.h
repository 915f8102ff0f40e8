// The look of the text controls on the program's dark windows: green text on
// black in Liberation Sans 8.25 pt (the stand-in for Arial and MS Sans
// Serif), the selection in a lighter green with black text, and scroll bars
// in the same colours.
#pragma once

#include <thread>

class QAbstractScrollArea;
class QFont;
class QWidget;

namespace ui {

// Fills the font database and finds the fallbacks of the application's font
// and of the pane font on a thread of its own (the database is shared by all
// threads), so that the first text pane built on the GUI thread finds them
// ready. Start it once the application object exists; the thread has ended
// when this object is gone.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

private:
    std::thread mThread;
};

// Liberation Sans 8.25 pt, regular or bold.
QFont paneFont(bool bold = false);

// Green on black with the pane font, for every state of the window.
void paintGreenOnBlack(QWidget *w);

// The vertical scroll bar of the area in the panes' colours, so that it does
// not glare on the dark screen.
void darkScrollBar(QAbstractScrollArea *area);

} // namespace ui
