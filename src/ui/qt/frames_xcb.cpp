// Frames and the task bar on X11, through the window manager's own protocol
// (EWMH): the frame a window will get is asked for before it is mapped, and
// the task bar is told through the window's state. On any other platform of
// Qt (offscreen, Wayland) the frame is the one Qt gives the created window,
// and the task bar is left to Qt.
#include "frames.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <chrono>
#include <iterator>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace ui::qt {

namespace {

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The atoms used here, interned once, all in one round trip.
struct Atoms {
    xcb_atom_t supportingWmCheck, supported, requestFrameExtents, frameExtents, state, skipTaskbar;
};

const Atoms &atoms(xcb_connection_t *c)
{
    static const Atoms interned = [c] {
        const char *const names[] = {"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_REQUEST_FRAME_EXTENTS",
                                     "_NET_FRAME_EXTENTS",       "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"};
        xcb_intern_atom_cookie_t cookies[std::size(names)];
        for (std::size_t i = 0; i < std::size(names); ++i)
            cookies[i] = xcb_intern_atom(c, 0, uint16_t(std::strlen(names[i])), names[i]);
        xcb_atom_t values[std::size(names)];
        for (std::size_t i = 0; i < std::size(names); ++i) {
            xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookies[i], nullptr);
            values[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
            std::free(reply);
        }
        return Atoms{values[0], values[1], values[2], values[3], values[4], values[5]};
    }();
    return interned;
}

// The 32-bit values of a window's property of the given type; empty when it
// is not set.
std::vector<uint32_t> windowProperty(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    const auto cookie = xcb_get_property(c, 0, window, name, type, 0, 1024);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(xcb_get_property_reply(c, cookie, nullptr),
                                                                         &std::free);
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

xcb_window_t rootOf(xcb_connection_t *c, xcb_window_t window)
{
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> reply(
        xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr), &std::free);
    return reply ? reply->root : xcb_window_t(XCB_WINDOW_NONE);
}

// A running window manager that answers frame requests: one whose check
// window names itself, and which lists the request among what it supports.
bool managerAnswersFrameRequests(xcb_connection_t *c, xcb_window_t root)
{
    const xcb_atom_t check = atoms(c).supportingWmCheck;
    const auto manager = windowProperty(c, root, check, XCB_ATOM_WINDOW);
    if (manager.size() != 1 || windowProperty(c, manager[0], check, XCB_ATOM_WINDOW) != manager)
        return false;
    const xcb_atom_t request = atoms(c).requestFrameExtents;
    for (uint32_t supported : windowProperty(c, root, atoms(c).supported, XCB_ATOM_ATOM))
        if (supported == request)
            return true;
    return false;
}

void sendToRoot(xcb_connection_t *c, xcb_window_t root, xcb_window_t window, xcb_atom_t type,
                std::initializer_list<uint32_t> data)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::size_t i = 0;
    for (uint32_t value : data)
        message.data.data32[i++] = value;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);
}

QMargins marginsFrom(const std::vector<uint32_t> &extents)
{
    // The property's order is left, right, top, bottom.
    return QMargins(int(extents[0]), int(extents[2]), int(extents[1]), int(extents[3]));
}

// Keeps the windows it is given out of the task bar: the state is written
// onto the window just before each mapping (Qt merges it into the state it
// sets), and asked for again should the state of a shown window lose it.
class TaskbarKeeper : public QObject, public QAbstractNativeEventFilter {
public:
    static TaskbarKeeper &instance()
    {
        static auto *keeper = [] {
            auto *k = new TaskbarKeeper;
            k->setParent(QCoreApplication::instance());
            QCoreApplication::instance()->installNativeEventFilter(k);
            return k;
        }();
        return *keeper;
    }

    void keep(QWidget *window)
    {
        std::erase_if(mWindows, [](const QPointer<QWidget> &w) { return w.isNull(); });
        mWindows.push_back(window);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            writeState(static_cast<QWidget *>(watched));
        return false;
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_property_notify_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY || event->state != XCB_PROPERTY_NEW_VALUE)
            return false;
        xcb_connection_t *c = connection();
        if (!c || event->atom != atoms(c).state)
            return false;
        for (const QPointer<QWidget> &window : mWindows)
            if (window && window->isVisible() && window->testAttribute(Qt::WA_WState_Created)
                && xcb_window_t(window->winId()) == event->window && !hasSkipState(c, event->window))
                sendToRoot(c, rootOf(c, event->window), event->window, atoms(c).state,
                           {1 /* add */, atoms(c).skipTaskbar, 0, 1 /* an application */, 0});
        return false;
    }

private:
    static bool hasSkipState(xcb_connection_t *c, xcb_window_t window)
    {
        for (uint32_t state : windowProperty(c, window, atoms(c).state, XCB_ATOM_ATOM))
            if (state == atoms(c).skipTaskbar)
                return true;
        return false;
    }

    // The window is about to be mapped: its state is still the program's to
    // write.
    static void writeState(QWidget *window)
    {
        xcb_connection_t *c = connection();
        if (!c)
            return;
        const auto id = xcb_window_t(window->winId());
        if (hasSkipState(c, id))
            return;
        xcb_change_property(c, XCB_PROP_MODE_APPEND, id, atoms(c).state, XCB_ATOM_ATOM, 32, 1, &atoms(c).skipTaskbar);
        xcb_flush(c);
    }

    std::vector<QPointer<QWidget>> mWindows;
};

} // namespace

QMargins expectedFrame(QWidget *window)
{
    xcb_connection_t *c = connection();
    if (!c) {
        window->winId();
        return window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    }
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t extentsName = atoms(c).frameExtents;
    auto extents = windowProperty(c, id, extentsName, XCB_ATOM_CARDINAL);
    if (extents.size() == 4)
        return marginsFrom(extents);
    const xcb_window_t root = rootOf(c, id);
    if (root == XCB_WINDOW_NONE || !managerAnswersFrameRequests(c, root))
        return {};
    // The manager sets the property on the window in answer; a manager that
    // says it answers but does not within a moment leaves the window without
    // a frame here.
    sendToRoot(c, root, id, atoms(c).requestFrameExtents, {0, 0, 0, 0, 0});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    do {
        extents = windowProperty(c, id, extentsName, XCB_ATOM_CARDINAL);
        if (extents.size() == 4)
            return marginsFrom(extents);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (std::chrono::steady_clock::now() < deadline);
    return {};
}

void leaveOutOfTaskbar(QWidget *window)
{
    if (connection())
        TaskbarKeeper::instance().keep(window);
}

} // namespace ui::qt
