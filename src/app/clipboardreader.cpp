// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clipboardreader.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMimeData>

#include <optional>

// The reader needs Qt's own X11 connection to compare the clipboard's owner with.
#if defined(TARVEX_HAVE_XCB) && !QT_CONFIG(xcb)
#undef TARVEX_HAVE_XCB
#endif

#ifdef TARVEX_HAVE_XCB
#include <poll.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace {

// Qt's clipboard: the offer is read whole, then measured.
CClipboardReader::Result ReadThroughQt(const QString &mimeType, qsizetype maxBytes, QByteArray &out)
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(mimeType))
        return CClipboardReader::Result::Missing;
    QByteArray bytes = data->data(mimeType);
    if (bytes.size() > maxBytes)
        return CClipboardReader::Result::TooLarge;
    out = std::move(bytes);
    return CClipboardReader::Result::Read;
}

#ifdef TARVEX_HAVE_XCB

struct CFreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template <typename T> using CReply = std::unique_ptr<T, CFreeReply>;

// One request for the CLIPBOARD selection on a connection of its own, with an
// unmapped window to receive it, following the X11 selection conventions (ICCCM):
// the owner writes the data into a property of our window, in one piece or, for
// large data, in pieces (INCR) that we ask for one by one by deleting the property.
class CXcbSelectionRequest
{
public:
    CXcbSelectionRequest()
    {
        int screenNumber = 0;
        m_connection = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(m_connection))
            return;
        xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < screenNumber && screen.rem > 0; ++i)
            xcb_screen_next(&screen);
        if (screen.rem == 0)
            return;
        m_window = xcb_generate_id(m_connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(m_connection, 0, m_window, screen.data->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    }
    ~CXcbSelectionRequest()
    {
        // Also ends a transfer we refused: the window goes with the connection.
        xcb_disconnect(m_connection);
    }
    CXcbSelectionRequest(const CXcbSelectionRequest &) = delete;
    CXcbSelectionRequest &operator=(const CXcbSelectionRequest &) = delete;

    bool IsOpen() const { return m_window != XCB_NONE && !xcb_connection_has_error(m_connection); }
    xcb_connection_t *Connection() const { return m_connection; }

    xcb_atom_t Atom(const QByteArray &name) const
    {
        CReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(name.size()), name.constData()), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_NONE);
    }

    // The offer of target, or nothing when this connection cannot tell (then the
    // caller asks Qt).
    std::optional<CClipboardReader::Result> Read(xcb_atom_t clipboard, xcb_atom_t target, qsizetype maxBytes,
                                                 QByteArray &out)
    {
        using Result = CClipboardReader::Result;
        const xcb_atom_t property = Atom("TARVEX_CLIPBOARD");
        const xcb_atom_t incr = Atom("INCR");
        if (property == XCB_NONE || incr == XCB_NONE)
            return std::nullopt;
        const QDeadlineTimer deadline(CClipboardReader::TimeoutMs);
        xcb_convert_selection(m_connection, m_window, clipboard, target, property, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
        CReply<xcb_generic_event_t> notify = WaitFor(deadline, [&](const xcb_generic_event_t *event) {
            const auto *n = reinterpret_cast<const xcb_selection_notify_event_t *>(event);
            return (event->response_type & 0x7f) == XCB_SELECTION_NOTIFY && n->requestor == m_window
                   && n->selection == clipboard;
        });
        if (!notify || reinterpret_cast<xcb_selection_notify_event_t *>(notify.get())->property == XCB_NONE)
            return Result::Missing;

        // Its size first: the property's length, or for a transfer in pieces the
        // owner's lower bound of the whole.
        CReply<xcb_get_property_reply_t> head = Property(property, false, 1);
        if (!head)
            return Result::Missing;
        if (head->type != incr) {
            const qsizetype size = qsizetype(xcb_get_property_value_length(head.get())) + head->bytes_after;
            if (size > maxBytes)
                return Result::TooLarge;
            CReply<xcb_get_property_reply_t> whole = Property(property, true, uint32_t((size + 3) / 4));
            if (!whole || whole->bytes_after != 0)
                return Result::Missing;
            out = QByteArray(static_cast<const char *>(xcb_get_property_value(whole.get())),
                             xcb_get_property_value_length(whole.get()));
            return Result::Read;
        }
        if (xcb_get_property_value_length(head.get()) >= 4
            && *static_cast<const uint32_t *>(xcb_get_property_value(head.get())) > quint64(maxBytes))
            return Result::TooLarge;

        // Deleting the INCR property asks for the first piece; each piece is a new
        // value of the property, the last one empty. Never more than the limit is
        // taken from the server: a piece that would pass it ends the transfer.
        QByteArray bytes;
        xcb_delete_property(m_connection, m_window, property);
        xcb_flush(m_connection);
        for (;;) {
            CReply<xcb_generic_event_t> changed = WaitFor(deadline, [&](const xcb_generic_event_t *event) {
                const auto *n = reinterpret_cast<const xcb_property_notify_event_t *>(event);
                return (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY && n->window == m_window
                       && n->atom == property && n->state == XCB_PROPERTY_NEW_VALUE;
            });
            if (!changed)
                return Result::Missing;
            const qsizetype room = maxBytes - bytes.size();
            CReply<xcb_get_property_reply_t> piece = Property(property, true, uint32_t(room / 4 + 1));
            if (!piece)
                return Result::Missing;
            const int length = xcb_get_property_value_length(piece.get());
            if (piece->bytes_after != 0 || length > room)
                return Result::TooLarge;
            if (length == 0)
                break;
            bytes.append(static_cast<const char *>(xcb_get_property_value(piece.get())), length);
            xcb_flush(m_connection);
        }
        out = std::move(bytes);
        return Result::Read;
    }

private:
    // Up to length 32-bit units of the property; delete takes it away when it was
    // read whole.
    CReply<xcb_get_property_reply_t> Property(xcb_atom_t property, bool remove, uint32_t length) const
    {
        return CReply<xcb_get_property_reply_t>(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, remove, m_window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, length), nullptr));
    }

    template <typename Match> CReply<xcb_generic_event_t> WaitFor(const QDeadlineTimer &deadline, Match match) const
    {
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                CReply<xcb_generic_event_t> owned(event);
                if (match(event))
                    return owned;
            }
            const qint64 left = deadline.remainingTime();
            if (xcb_connection_has_error(m_connection) || left == 0)
                return nullptr;
            pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&descriptor, 1, int(left));
        }
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_window = XCB_NONE;
};

// The clipboard's owner as a connection sees it.
xcb_window_t ClipboardOwner(xcb_connection_t *connection, xcb_atom_t clipboard)
{
    CReply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, clipboard), nullptr));
    return reply ? reply->owner : xcb_window_t(XCB_NONE);
}

// Another program's offer straight from the X server; nothing when that is not
// possible (then Qt is asked).
std::optional<CClipboardReader::Result> ReadFromXServer(const QString &mimeType, qsizetype maxBytes, QByteArray &out)
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return std::nullopt;
    CXcbSelectionRequest request;
    if (!request.IsOpen())
        return std::nullopt;
    const xcb_atom_t clipboard = request.Atom("CLIPBOARD");
    const xcb_atom_t target = request.Atom(mimeType.toLatin1());
    if (clipboard == XCB_NONE || target == XCB_NONE)
        return std::nullopt;
    // The same owner seen by Qt and by us: both connections reach the same server
    // (Qt may have been given another display than the environment names).
    const xcb_window_t owner = ClipboardOwner(request.Connection(), clipboard);
    if (owner != ClipboardOwner(x11->connection(), clipboard))
        return std::nullopt;
    if (owner == XCB_NONE)
        return CClipboardReader::Result::Missing;
    return request.Read(clipboard, target, maxBytes, out);
}

#endif

} // namespace

CClipboardReader::Result CClipboardReader::Read(const QString &mimeType, qsizetype maxBytes, QByteArray &out)
{
    out.clear();
#ifdef TARVEX_HAVE_XCB
    // Our own offer is at hand; asking the server for it would wait on ourselves.
    if (!QGuiApplication::clipboard()->ownsClipboard()) {
        if (const std::optional<Result> result = ReadFromXServer(mimeType, maxBytes, out))
            return *result;
    }
#endif
    return ReadThroughQt(mimeType, maxBytes, out);
}
