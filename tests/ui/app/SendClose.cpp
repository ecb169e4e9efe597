// Asks an X window to close, as its frame's close button or a session
// manager's logout does: the WM_DELETE_WINDOW message of the window-manager
// protocols. The real-window tests use it where there is no frame to click.
//   mirvane-send-close WINDOW_ID
// It waits until the window is mapped and takes WM_DELETE_WINDOW, and ends
// only once the server has answered a request sent after the message: a
// client that hangs up right after writing its last request can have the
// server close the connection without ever acting on it, which under a
// loaded CPU lost most close requests. Exit status 0 when the message was
// delivered, 1 with a reason on standard error otherwise.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {
xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

enum class WindowState { Gone, NotReady, Ready };

// Ready once the window is viewable and lists `protocol` in WM_PROTOCOLS.
WindowState StateOf(xcb_connection_t* c, xcb_window_t window, xcb_atom_t protocols, xcb_atom_t protocol)
{
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    if (!attributes)
        return WindowState::Gone;
    const bool viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    if (!viewable)
        return WindowState::NotReady;
    xcb_get_property_reply_t* property =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, protocols, XCB_ATOM_ATOM, 0, 32), nullptr);
    bool listed = false;
    if (property && property->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(property));
        const int count = xcb_get_property_value_length(property) / 4;
        for (int i = 0; i < count && !listed; ++i)
            listed = atoms[i] == protocol;
    }
    std::free(property);
    return listed ? WindowState::Ready : WindowState::NotReady;
}

int Fail(xcb_connection_t* c, const char* why)
{
    std::fprintf(stderr, "mirvane-send-close: %s\n", why);
    xcb_disconnect(c);
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return Fail(c, "no connection to the X server");
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const xcb_atom_t protocols = Atom(c, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = Atom(c, "WM_DELETE_WINDOW");

    WindowState state = WindowState::NotReady;
    for (int tries = 0; tries < 200; ++tries) { // 10 seconds
        state = StateOf(c, window, protocols, deleteWindow);
        if (state != WindowState::NotReady)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (state == WindowState::Gone)
        return Fail(c, "no such window");
    if (state == WindowState::NotReady)
        return Fail(c, "the window is not shown or does not take WM_DELETE_WINDOW");

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocols;
    message.data.data32[0] = deleteWindow;
    message.data.data32[1] = XCB_CURRENT_TIME;
    // No event mask: the message goes to the client that made the window.
    const xcb_void_cookie_t sent = xcb_send_event_checked(c, 0, window, XCB_EVENT_MASK_NO_EVENT,
                                                          reinterpret_cast<const char*>(&message));
    // Waits for the server's answer, so the message is queued for the window
    // before the connection ends.
    if (xcb_generic_error_t* error = xcb_request_check(c, sent)) {
        std::free(error);
        return Fail(c, "the server refused the message");
    }
    xcb_disconnect(c);
    return 0;
}
