// Frame margins before and after the window manager frames a window, and
// the placing of a window by its frame.
#include "ui/kit/window_frame.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace windowFrame {

namespace {

MarginsSource &marginsSource() {
    static MarginsSource source;
    return source;
}

// The atoms of the frame request, asked for together (one round trip instead
// of three) and once per connection.
struct FrameAtoms {
    xcb_atom_t request = XCB_ATOM_NONE;
    xcb_atom_t extents = XCB_ATOM_NONE;
    xcb_atom_t supported = XCB_ATOM_NONE;
};

FrameAtoms internFrameAtoms(xcb_connection_t *c) {
    const char *names[] = {"_NET_REQUEST_FRAME_EXTENTS", "_NET_FRAME_EXTENTS", "_NET_SUPPORTED"};
    xcb_intern_atom_cookie_t cookies[3];
    for (int i = 0; i < 3; ++i)
        cookies[i] = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    xcb_atom_t atoms[3] = {XCB_ATOM_NONE, XCB_ATOM_NONE, XCB_ATOM_NONE};
    for (int i = 0; i < 3; ++i) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookies[i], nullptr);
        if (reply)
            atoms[i] = reply->atom;
        std::free(reply);
    }
    return {atoms[0], atoms[1], atoms[2]};
}

// The 32-bit values of a window property; empty if it is not set.
std::vector<uint32_t> property32(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property,
                                 xcb_atom_t type, uint32_t count) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, window, property, type, 0, count);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr);
    std::vector<uint32_t> values;
    if (reply && reply->type == type && reply->format == 32) {
        const auto *data = static_cast<const uint32_t *>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

xcb_window_t rootOf(xcb_connection_t *c) {
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_window_t root = XCB_WINDOW_NONE;
    if (screen)
        root = screen->root;
    return root;
}

// The windows whose frame has been asked for and not yet read.
std::vector<xcb_window_t> &pendingRequests() {
    static std::vector<xcb_window_t> pending;
    return pending;
}

// Where the window manager's answer about a window will stand.
struct FrameRequest {
    xcb_connection_t *connection;
    xcb_window_t window;
    xcb_atom_t extents;
};

// Sends the request unless one is pending for the window; none when the
// window manager does not answer such requests.
std::optional<FrameRequest> requestFrame(QWidget *window) {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return std::nullopt;
    xcb_connection_t *c = x11->connection();
    // What the window manager supports is asked once per connection: the
    // list is long, and every window of the program asks.
    struct Known {
        xcb_connection_t *connection = nullptr;
        FrameAtoms atoms;
        bool answers = false;
    };
    static Known known;
    if (known.connection != c) {
        known.connection = c;
        known.atoms = internFrameAtoms(c);
        const std::vector<uint32_t> announced =
            property32(c, rootOf(c), known.atoms.supported, XCB_ATOM_ATOM, 4096);
        known.answers =
            std::find(announced.begin(), announced.end(), known.atoms.request) != announced.end();
    }
    if (!known.answers)
        return std::nullopt;

    const FrameRequest asked{c, static_cast<xcb_window_t>(window->winId()), known.atoms.extents};
    std::vector<xcb_window_t> &pending = pendingRequests();
    if (std::find(pending.begin(), pending.end(), asked.window) != pending.end())
        return asked;
    pending.push_back(asked.window);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = asked.window;
    message.type = known.atoms.request;
    xcb_send_event(c, 0, rootOf(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);
    return asked;
}

// Asks an X11 window manager which frame it would give the window, before
// the window is mapped; the answer is in screen pixels. Window managers that
// do not announce the request in _NET_SUPPORTED, and other platforms, give
// no answer.
QMargins askWindowManager(QWidget *window) {
    const std::optional<FrameRequest> asked = requestFrame(window);
    if (!asked)
        return {};
    std::vector<xcb_window_t> &pending = pendingRequests();
    pending.erase(std::remove(pending.begin(), pending.end(), asked->window), pending.end());
    // The window manager answers by setting the property; it normally takes
    // a millisecond or two, which the window's first showing waits for
    // unless the request went out earlier, so the property is read again
    // soon. A window manager that does not answer at all costs a fifth of a
    // second once per window.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 200) {
        const std::vector<uint32_t> v =
            property32(asked->connection, asked->window, asked->extents, XCB_ATOM_CARDINAL, 4);
        if (v.size() == 4) // left, right, top, bottom
            return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
        QThread::usleep(250);
    }
    return {};
}

} // namespace

QMarginsF expectedMargins(QWidget *window) {
    if (const MarginsSource &source = marginsSource())
        return QMarginsF(source(window));
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    const QMargins known(client.left() - frame.left(), client.top() - frame.top(),
                         frame.right() - client.right(), frame.bottom() - client.bottom());
    if (!known.isNull())
        return QMarginsF(known);
    return QMarginsF(askWindowManager(window)) / window->devicePixelRatioF();
}

QRect clientFor(const QRectF &outer, const QMarginsF &margins) {
    const QRectF client = outer.marginsRemoved(margins);
    return QRect(qRound(client.x()), qRound(client.y()), qRound(client.width()),
                 qRound(client.height()));
}

QRectF centredOuter(const QSizeF &outerSize, const QRect &desktop) {
    // The middle of the desktop itself: QRect::center() rounds down.
    const QRectF area(desktop);
    return QRectF(area.x() + (area.width() - outerSize.width()) / 2,
                  area.y() + (area.height() - outerSize.height()) / 2, outerSize.width(),
                  outerSize.height());
}

void centreOnDesktop(QWidget *window) {
    const QMarginsF margins = expectedMargins(window);
    const QSizeF outerSize = QSizeF(window->size()).grownBy(margins);
    const QRectF outer = centredOuter(outerSize, window->screen()->availableGeometry());
    window->setGeometry(clientFor(outer, margins));
}

void centreOnFirstShowing(QWidget *window) {
    // The show event comes after the native window exists and before it is
    // mapped: the moment to ask for the frame.
    struct FirstShowing : QObject {
        using QObject::QObject;
        bool eventFilter(QObject *watched, QEvent *event) override {
            if (event->type() == QEvent::Show && !event->spontaneous()) {
                centreOnDesktop(static_cast<QWidget *>(watched));
                deleteLater();
                watched->removeEventFilter(this);
            }
            return false;
        }
    };
    window->installEventFilter(new FirstShowing(window));
}

void askForFrameEarly(QWidget *window) {
    if (!marginsSource() && window->isWindow())
        requestFrame(window);
}

void setMarginsSource(MarginsSource source) {
    marginsSource() = std::move(source);
}

} // namespace windowFrame
