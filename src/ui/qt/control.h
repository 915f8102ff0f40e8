// What every Qt control of the library shares: it is its widget, so that a
// test reaches the widget by a cast, and it is shown, hidden and named as the
// toolkit-free interface says.
#pragma once

#include "ui/controls.h"
#include "ui/layout.h"

#include <QFocusEvent>
#include <QObject>
#include <QRect>
#include <QString>
#include <QWidget>

#include <initializer_list>
#include <string>

namespace ui::qt {

inline QRect qrect(const layout::Rect &r) { return QRect(r.x, r.y, r.w, r.h); }
inline QString toQ(const std::string &text) { return QString::fromStdString(text); }
inline std::string toStd(const QString &text) { return text.toStdString(); }

// A widget W that is also the control I of the interface.
template <class W, class I> class ControlOf : public W, public I {
public:
    using W::W;

    void show() override { W::show(); }
    void hide() override { W::hide(); }
    // By its own flag: a child not yet shown or hidden explicitly shows with
    // its window.
    bool visible() const override
    {
        return !W::testAttribute(Qt::WA_WState_ExplicitShowHide) || !W::isHidden();
    }
    void setName(const std::string &name) override { W::setObjectName(toQ(name)); }

protected:
    // Places the control; `shown` false hides it until shown.
    void place(const layout::Rect &rect, bool shown)
    {
        W::setGeometry(qrect(rect));
        if (!shown)
            W::hide();
        else if (W::parentWidget() && W::parentWidget()->isVisible())
            W::show();  // a child added to a shown window is not shown with it
    }
};

// True when a focus event moves the focus between controls (Tab, an arrow
// key, a click, code), false when the focus only goes and comes with its
// window's activation: getting it back is no new arrival, and must not
// replay a roll-over.
inline bool focusArrived(const QFocusEvent *event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

// Calls an event for pointer movement over some widgets (a scroll area, its
// viewport and its scroll bars), with or without a button held; the widgets
// still get the movement themselves.
class MovementWatcher : public QObject {
public:
    MovementWatcher(QObject *parent, const Event &event, std::initializer_list<QWidget *> widgets);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const Event &mEvent;
};

} // namespace ui::qt
