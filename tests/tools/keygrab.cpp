// Another X client that tries to grab keys on the root window, as a second program would:
//   vantor-keygrab [--hold SECONDS] KEYSYM...   (for example F9 Escape)
// Exits 0 when every key could be grabbed, 1 when one is held by someone else. With --hold it keeps
// the keys for that long first (it prints "held" once it has them).
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    xcb_connection_t* connection = XGetXCBConnection(display);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    int failed = 0;
    int hold = 0;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--hold") == 0) {
        hold = std::atoi(argv[2]);
        first = 3;
    }
    for (int i = first; i < argc; ++i) {
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(argv[i]));
        xcb_generic_error_t* error =
            xcb_request_check(connection, xcb_grab_key_checked(connection, 0, root, 0, code,
                                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::printf("%s: %s\n", argv[i], error ? "held by another client" : "grabbed");
        if (error) {
            ++failed;
            std::free(error);
        }
    }
    if (hold > 0) {
        std::printf("held\n");
        std::fflush(stdout);
        sleep(static_cast<unsigned>(hold));
    }
    XCloseDisplay(display);
    return failed ? 1 : 0;
}
