#include "panes.h"

#include "platform/fonts.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionSlider>
#include <QFont>
#include <QPalette>
#include <QScrollBar>
#include <QWidget>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ui::qt {

namespace {

// Vertical scroll bars in the panes' greens, drawn directly rather than
// through a style sheet (which would cost the start-up a CSS parser): a
// 14-pixel bar with a thin dark rule on its left, square step buttons with a
// small green mark, and a rounded green handle of at least 22 pixels.
// Anything else is drawn by the application's style.
class DarkScrollBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_ScrollBarExtent:
            return kExtent;
        case PM_ScrollBarSliderMin:
            return 22;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (control != CC_ScrollBar || !bar || bar->orientation != Qt::Vertical) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QColor rule(0x2a, 0x3a, 0x2a), groove(0x0c, 0x14, 0x0c), button(0x14, 0x24, 0x14),
            mark(0x39, 0xa8, 0x39), handle(0x1d, 0x5c, 0x1d);
        const QRect r = bar->rect;
        painter->save();
        painter->fillRect(r, groove);
        for (SubControl part : {SC_ScrollBarSubLine, SC_ScrollBarAddLine}) {
            const QRect b = subControlRect(CC_ScrollBar, bar, part, widget);
            painter->fillRect(b, button);
            const QRect inside = b.adjusted(1, 0, 0, 0);
            painter->fillRect(QRect(inside.x() + (inside.width() - 6) / 2, inside.y() + (inside.height() - 6) / 2, 6, 6),
                              mark);
        }
        painter->fillRect(QRect(r.x(), r.y(), 1, r.height()), rule);
        if (bar->maximum > bar->minimum) {
            const QRect s = subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget).adjusted(1, 0, 0, 0);
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(QPen(mark, 1));
            painter->setBrush(handle);
            painter->drawRoundedRect(QRectF(s).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        }
        painter->restore();
    }

    static constexpr int kExtent = 14;
};

} // namespace

FontWarmUp::FontWarmUp()
    : mThread([goOn = mGoOn.get_future()]() mutable {
          platform::loadFontConfiguration();
          if (!goOn.get())
              return;
          QFontDatabase::families();
          QFontMetrics(QGuiApplication::font()).height();
          QFontMetrics(paneFont()).height();
      })
{
}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::applicationReady()
{
    if (mTold)
        return;
    mTold = true;
    mGoOn.set_value(true);
}

void FontWarmUp::wait()
{
    if (!mTold) {
        mTold = true;
        mGoOn.set_value(false);
    }
    if (mThread.joinable())
        mThread.join();
}

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
    // One style for every such bar; the application owns it.
    static QPointer<QStyle> style;
    if (!style) {
        style = new DarkScrollBarStyle;
        style->setParent(QCoreApplication::instance());
    }
    area->verticalScrollBar()->setStyle(style);
}

// ---------------------------------------------------------------------------
// Labels

Label::Label(QWidget *parent, const layout::Rect &rect, LabelStyle style) : ControlOf(parent)
{
    place(rect, false);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    if (style == LabelStyle::Status) {
        // A long hint takes the strip's second line; movement over the strip
        // is movement over the window's background.
        setFont(paneFont(true));
        QPalette palette = this->palette();
        palette.setColor(QPalette::WindowText, QColor(0xFF, 0xFF, 0x00));
        setPalette(palette);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    } else {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSize(12);
        font.setBold(true);
        setFont(font);
        // The message takes no part in the highlight: movement over it
        // neither shows nor clears anything.
        setMouseTracking(true);
    }
}

void Label::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

void Label::setText(const std::string &text)
{
    QLabel::setText(toQ(text));
}

std::string Label::text() const
{
    return toStd(QLabel::text());
}

bool Label::fits(const std::string &text) const
{
    const QRect area = contentsRect();
    const QRect needed = fontMetrics().boundingRect(area, int(alignment()) | Qt::TextWordWrap, toQ(text));
    return needed.width() <= area.width() && needed.height() <= area.height();
}

// ---------------------------------------------------------------------------
// List, pane and text box

ListBox::ListBox(QWidget *parent, const layout::Rect &rect) : ControlOf(parent)
{
    place(rect, true);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    paintGreenOnBlack(this);
    darkScrollBar(this);
    new MovementWatcher(this, onMouseMove, {this, viewport(), verticalScrollBar()});
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (selectedIndex() >= 0 && onClick)
            onClick();
    });
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    // With no entry selected, the first arrow key selects the first entry
    // (the list's own focus handling would otherwise skip it).
    if (QListWidget::count() > 0 && selectedItems().isEmpty()
        && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
        event->accept();
        setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        return;
    }
    QListWidget::keyPressEvent(event);
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    if (focusArrived(event) && onFocus)
        onFocus();
}

void ListBox::clear()
{
    QListWidget::clear();
}

void ListBox::addItems(const std::vector<std::string> &items)
{
    QStringList texts;
    texts.reserve(qsizetype(items.size()));
    for (const std::string &item : items)
        texts << toQ(item);
    QListWidget::addItems(texts);
}

int ListBox::count() const
{
    return QListWidget::count();
}

std::string ListBox::item(int index) const
{
    const QListWidgetItem *entry = QListWidget::item(index);
    return entry ? toStd(entry->text()) : std::string();
}

int ListBox::selectedIndex() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void ListBox::clearSelection()
{
    setCurrentRow(-1, QItemSelectionModel::Clear);
}

void ListBox::setFocus()
{
    QListWidget::setFocus();
}

TextPane::TextPane(QWidget *parent, const layout::Rect &rect) : ControlOf(parent)
{
    place(rect, true);
    setFrameShape(QFrame::NoFrame);
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::ArrowCursor);
    paintGreenOnBlack(this);
    darkScrollBar(this);
    new MovementWatcher(this, onMouseMove, {this, viewport(), verticalScrollBar()});
}

void TextPane::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    if (focusArrived(event) && onFocus)
        onFocus();
}

void TextPane::setText(const std::string &text)
{
    setPlainText(toQ(text));
    moveCursor(QTextCursor::Start);
}

std::string TextPane::text() const
{
    return toStd(toPlainText());
}

TextBox::TextBox(QWidget *parent, const layout::Rect &rect) : ControlOf(parent)
{
    place(rect, true);
    setFrame(false);
    paintGreenOnBlack(this);
    new MovementWatcher(this, onMouseMove, {this});
}

void TextBox::setText(const std::string &text)
{
    QLineEdit::setText(toQ(text));
}

std::string TextBox::text() const
{
    return toStd(QLineEdit::text());
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (focusArrived(event) && onFocus)
        onFocus();
}

void TextBox::setFocus()
{
    QLineEdit::setFocus();
}

} // namespace ui::qt
