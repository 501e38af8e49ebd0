// Starts a program and tells how long it took from the exec to the first
// frame drawn into its top-level window, as the X server sees it, and the
// program's peak resident memory by then.
//
//   bench_first_frame [--trace] [--shot FILE.ppm] [--timeout MS] -- PROGRAM ARGS...
//
// Without a window manager a top-level window is a child of the root, so
// watching the root's substructure shows every top-level window the
// program creates. Each gets a damage object as soon as it exists, before
// it can be mapped, so no drawing can slip past; only damage to a mapped
// window counts, since unmapped ones show nothing.
//
// Prints one line: "first_frame_ms=F mapped_ms=M max_rss_kb=K", M being
// when that window was mapped. The program is killed right after its first
// frame; half a second more changes its peak memory by less than 0.1 MiB.
// --trace prints every window and damage event until the time-out instead
// of stopping at the first frame. --shot stops the program at its first
// frame and saves the window as a PPM file, to see what that frame holds.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

namespace {

double NowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// A window may be gone before its damage object is made; that is no error.
int IgnoreXErrors(Display*, XErrorEvent*) {
  return 0;
}

bool SavePpm(Display* display, Window window, const char* path) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!image) return false;
  FILE* out = std::fopen(path, "wb");
  if (!out) {
    XDestroyImage(image);
    return false;
  }
  std::fprintf(out, "P6\n%d %d\n255\n", image->width, image->height);
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      const unsigned char rgb[3] = {static_cast<unsigned char>((pixel >> 16) & 0xff),
                                    static_cast<unsigned char>((pixel >> 8) & 0xff),
                                    static_cast<unsigned char>(pixel & 0xff)};
      std::fwrite(rgb, 1, 3, out);
    }
  }
  XDestroyImage(image);
  return std::fclose(out) == 0;
}

[[noreturn]] void Usage(const char* self) {
  std::fprintf(stderr, "usage: %s [--trace] [--shot FILE.ppm] [--timeout MS] -- PROGRAM ARGS...\n",
               self);
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  bool trace = false;
  const char* shot = nullptr;
  int timeoutMs = 10000;
  int first = 1;
  for (; first < argc; ++first) {
    const std::string arg = argv[first];
    if (arg == "--") {
      ++first;
      break;
    }
    if (arg == "--trace") {
      trace = true;
    } else if (arg == "--shot" && first + 1 < argc) {
      shot = argv[++first];
    } else if (arg == "--timeout" && first + 1 < argc) {
      timeoutMs = std::atoi(argv[++first]);
    } else {
      Usage(argv[0]);
    }
  }
  if (first >= argc) Usage(argv[0]);

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no X display\n");
    return 1;
  }
  int damageEvent = 0, damageError = 0;
  if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
    std::fprintf(stderr, "the X server has no DAMAGE extension\n");
    return 1;
  }
  XSetErrorHandler(IgnoreXErrors);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  const int connection = ConnectionNumber(display);
  fcntl(connection, F_SETFD, FD_CLOEXEC);

  const double start = NowMs();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    return 1;
  }
  if (child == 0) {
    execvp(argv[first], argv + first);
    std::perror(argv[first]);
    _exit(127);
  }

  std::set<Window> watched;         // windows with a damage object
  std::map<Window, double> mapped;  // the mapped windows, with when they were mapped
  double firstFrame = -1;
  double frameWindowMapped = -1;
  Window frameWindow = 0;
  bool childEnded = false;
  int childStatus = 0;
  rusage usage{};
  const int level = trace ? XDamageReportRawRectangles : XDamageReportNonEmpty;

  while ((trace || firstFrame < 0) && NowMs() - start < timeoutMs) {
    if (!XPending(display)) {
      pollfd wait{connection, POLLIN, 0};
      poll(&wait, 1, 20);
      if (!childEnded && wait4(child, &childStatus, WNOHANG, &usage) == child) {
        childEnded = true;
        if (!trace) break;
      }
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    const double at = NowMs() - start;
    if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
      const Window window = event.xcreatewindow.window;
      XDamageCreate(display, window, level);
      watched.insert(window);
      XFlush(display);
      if (trace) {
        std::printf("%8.2f ms  create 0x%lx %dx%d%s\n", at, window, event.xcreatewindow.width,
                    event.xcreatewindow.height,
                    event.xcreatewindow.override_redirect ? " override-redirect" : "");
      }
    } else if (event.type == MapNotify && event.xmap.event == root) {
      const Window window = event.xmap.window;
      mapped.emplace(window, at);
      if (watched.insert(window).second) {
        XDamageCreate(display, window, level);
        XFlush(display);
      }
      if (trace) std::printf("%8.2f ms  map    0x%lx\n", at, window);
    } else if (event.type == DestroyNotify && event.xdestroywindow.event == root) {
      watched.erase(event.xdestroywindow.window);
      mapped.erase(event.xdestroywindow.window);
      if (trace) std::printf("%8.2f ms  destroy 0x%lx\n", at, event.xdestroywindow.window);
    } else if (event.type == damageEvent + XDamageNotify) {
      const auto* damage = reinterpret_cast<const XDamageNotifyEvent*>(&event);
      const bool counts = mapped.count(damage->drawable) != 0;
      if (trace) {
        std::printf("%8.2f ms  damage 0x%lx %ux%u+%d+%d%s\n", at, damage->drawable,
                    damage->area.width, damage->area.height, damage->area.x, damage->area.y,
                    counts ? "" : " (unmapped)");
      }
      if (counts && firstFrame < 0) {
        firstFrame = at;
        frameWindow = damage->drawable;
        frameWindowMapped = mapped[frameWindow];
      }
    }
    if (trace) std::fflush(stdout);
  }

  if (!childEnded) {
    if (shot && frameWindow) {
      // Freeze the program so the saved picture is the frame just seen,
      // give or take what the server had already been sent.
      kill(child, SIGSTOP);
      XSync(display, False);
      if (!SavePpm(display, frameWindow, shot)) std::fprintf(stderr, "no picture saved\n");
    }
    kill(child, SIGKILL);
    wait4(child, &childStatus, 0, &usage);
  }
  XCloseDisplay(display);

  if (firstFrame < 0) {
    std::fprintf(stderr, "%s: no frame within %d ms%s\n", argv[first], timeoutMs,
                 childEnded ? " (the program ended)" : "");
    return 1;
  }
  std::printf("first_frame_ms=%.2f mapped_ms=%.2f max_rss_kb=%ld\n", firstFrame, frameWindowMapped,
              usage.ru_maxrss);
  return 0;
}
