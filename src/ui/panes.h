// The look of the text controls on the program's dark windows: green text on
// black in Liberation Sans 8.25 pt (the stand-in for Arial and MS Sans
// Serif), the selection in a lighter green with black text, and scroll bars
// in the same colours.
#pragma once

class QAbstractScrollArea;
class QFont;
class QWidget;

namespace ui {

// Liberation Sans 8.25 pt, regular or bold.
QFont paneFont(bool bold = false);

// Green on black with the pane font, for every state of the window.
void paintGreenOnBlack(QWidget *w);

// The vertical scroll bar of the area in the panes' colours, so that it does
// not glare on the dark screen.
void darkScrollBar(QAbstractScrollArea *area);

} // namespace ui
