// Starts a program and reports how long its top-level window took to appear on the X display:
// to the MapNotify of a window with the expected title, and to the first drawing in it (the
// first Damage event after the map). Then it waits until its standard input closes, ends the
// program and exits.
//
//   startwatch TITLE PROGRAM [ARGUMENT...]
//
// prints, one per line: "pid N", "mapped S", "drawn S", where S are seconds on the monotonic
// clock; the moment just before exec is "started S".
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr int TimeoutMs = 20000;

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Windows vanish between an event and a request about them; such errors are expected.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

std::string windowTitle(Display *display, Window window)
{
    const Atom names[] = { XInternAtom(display, "_NET_WM_NAME", False), XA_WM_NAME };
    for (Atom name : names) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, window, name, 0, 1024, False, AnyPropertyType, &type,
                               &format, &count, &after, &data)
                    == Success
            && data != nullptr) {
            std::string title(reinterpret_cast<const char *>(data), count);
            XFree(data);
            if (!title.empty())
                return title;
        }
    }
    return {};
}

// Waits for the next X event, or until the deadline; false at the deadline.
bool nextEvent(Display *display, double deadline, XEvent &event)
{
    while (XPending(display) == 0) {
        const double left = deadline - now();
        if (left <= 0)
            return false;
        pollfd connection{ ConnectionNumber(display), POLLIN, 0 };
        poll(&connection, 1, static_cast<int>(left * 1000) + 1);
    }
    XNextEvent(display, &event);
    return true;
}

void endProgram(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int waited = 0; waited < 100; ++waited) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startwatch TITLE PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const std::string expectedTitle = argv[1];

    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startwatch: cannot open the display\n");
        return 2;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "startwatch: the display has no Damage extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreXError);
    // Top-level windows are the root's children: their creation and mapping arrive here.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    std::fflush(stdout);
    const double started = now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        execvp(argv[2], argv + 2);
        std::fprintf(stderr, "startwatch: cannot start %s: %s\n", argv[2], std::strerror(errno));
        _exit(127);
    }
    std::printf("pid %d\nstarted %.6f\n", static_cast<int>(pid), started);
    std::fflush(stdout);

    Window target = None;
    double mapped = 0;
    double drawn = 0;
    const double deadline = started + TimeoutMs / 1000.0;
    XEvent event;
    while (drawn == 0 && nextEvent(display, deadline, event)) {
        if (event.type == CreateNotify) {
            // Watch every new top-level window for drawing from its creation on, so that
            // nothing drawn between the map and our noticing it is missed.
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify && target == None
                   && windowTitle(display, event.xmap.window) == expectedTitle) {
            mapped = now();
            target = event.xmap.window;
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
            XDamageSubtract(display, damage.damage, None, None);
            if (target != None && damage.drawable == target)
                drawn = now();
        }
    }
    if (drawn == 0) {
        std::fprintf(stderr, "startwatch: no window \"%s\" was %s within %d s\n",
                     expectedTitle.c_str(), target == None ? "mapped" : "drawn", TimeoutMs / 1000);
        endProgram(pid);
        return 1;
    }
    std::printf("mapped %.6f\ndrawn %.6f\n", mapped, drawn);
    std::fflush(stdout);

    char buffer[256];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) { }
    endProgram(pid);
    XCloseDisplay(display);
    return 0;
}
