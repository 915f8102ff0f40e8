#include "panes.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPalette>
#include <QScrollBar>
#include <QWidget>

namespace ui {

namespace {
const char *const kScrollBarStyle =
    "QScrollBar:vertical { background: #0c140c; width: 14px; margin: 14px 0 14px 0; border-left: 1px solid #2a3a2a; }"
    "QScrollBar::handle:vertical { background: #1d5c1d; border: 1px solid #39a839; border-radius: 3px; min-height: 20px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { background: #142414; height: 14px;"
    " subcontrol-origin: margin; border-left: 1px solid #2a3a2a; }"
    "QScrollBar::add-line:vertical { subcontrol-position: bottom; }"
    "QScrollBar::sub-line:vertical { subcontrol-position: top; }"
    "QScrollBar::up-arrow:vertical, QScrollBar::down-arrow:vertical { width: 6px; height: 6px; background: #39a839; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }";
} // namespace

QFont paneFont(bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

void paintGreenOnBlack(QWidget *w)
{
    const QColor green(0x00, 0xFF, 0x00);
    // Black on this green reads as well as the green text on black does.
    const QColor selection(0x00, 0xC0, 0x00);
    QPalette palette = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, Qt::black);
        palette.setColor(group, QPalette::Window, Qt::black);
        palette.setColor(group, QPalette::Button, Qt::black);
        palette.setColor(group, QPalette::Text, green);
        palette.setColor(group, QPalette::WindowText, green);
        palette.setColor(group, QPalette::ButtonText, green);
        palette.setColor(group, QPalette::Highlight, selection);
        palette.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    w->setPalette(palette);
    w->setFont(paneFont());
}

void darkScrollBar(QAbstractScrollArea *area)
{
    area->verticalScrollBar()->setStyleSheet(QString::fromLatin1(kScrollBarStyle));
}

} // namespace ui
