// Starts a program and measures, on the X server in DISPLAY, the time from exec to the mapping of
// its top-level window with the given title, then its peak resident memory once it has been idle.
//
//   startup_probe TITLE IDLE_MS PROGRAM [ARGS...]
//
// Prints one JSON object: {"startup_ms": ..., "cpu_ms": ..., "vmhwm_kib": ...}, cpu_ms the CPU
// time all the program's threads had spent when its window was mapped. The map is seen as a
// MapNotify event on the root window, so no polling interval adds to the time.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

int Fail(const std::string& message, pid_t child = 0) {
  std::fprintf(stderr, "startup_probe: %s\n", message.c_str());
  if (child > 0) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
  }
  return 1;
}

// Whether WM_NAME of `window` is `title`, whatever text type the property has.
bool HasTitle(Display* display, Window window, const std::string& title) {
  XTextProperty name{};
  if (XGetWMName(display, window, &name) == 0 || name.value == nullptr) return false;
  const bool same =
      name.format == 8 && title == std::string(reinterpret_cast<const char*>(name.value),
                                               static_cast<std::size_t>(name.nitems));
  XFree(name.value);
  return same;
}

// The peak resident set of `pid` in KiB, or -1.
long PeakResidentKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// The CPU time in milliseconds all threads of `pid` have spent so far (the first field of each
// thread's schedstat, in nanoseconds), or -1.
double CpuMilliseconds(pid_t pid) {
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  std::error_code error;
  double ns = 0;
  bool any = false;
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    std::ifstream schedstat(task.path() / "schedstat");
    double on_cpu = 0;
    if (schedstat >> on_cpu) {
      ns += on_cpu;
      any = true;
    }
  }
  return any ? ns / 1e6 : -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) return Fail("usage: startup_probe TITLE IDLE_MS PROGRAM [ARGS...]");
  const std::string title = argv[1];
  const int idle_ms = std::atoi(argv[2]);

  const std::unique_ptr<Display, int (*)(Display*)> connection(XOpenDisplay(nullptr),
                                                               &XCloseDisplay);
  Display* display = connection.get();
  if (display == nullptr) return Fail("cannot open the X display");
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const auto start = Clock::now();
  const pid_t child = ::fork();
  if (child < 0) return Fail("cannot fork");
  if (child == 0) {
    ::close(ConnectionNumber(display));
    ::execv(argv[3], argv + 3);
    std::perror("startup_probe: exec");
    std::_Exit(127);
  }

  const auto deadline = start + std::chrono::seconds(30);
  bool mapped = false;
  Clock::time_point mapped_at;
  while (!mapped) {
    while (!mapped && XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      const auto received = Clock::now();
      if (event.type == MapNotify && HasTitle(display, event.xmap.window, title)) {
        mapped_at = received;
        mapped = true;
      }
    }
    if (mapped) break;
    if (::waitpid(child, nullptr, WNOHANG) == child) return Fail("the program ended early");
    if (Clock::now() > deadline) return Fail("no window \"" + title + "\" within 30 s", child);
    pollfd readable{ConnectionNumber(display), POLLIN, 0};
    ::poll(&readable, 1, 100);
  }
  const double startup_ms = std::chrono::duration<double, std::milli>(mapped_at - start).count();
  const double cpu_ms = CpuMilliseconds(child);

  std::this_thread::sleep_for(std::chrono::milliseconds(idle_ms));
  const long peak_kib = PeakResidentKib(child);
  ::kill(child, SIGTERM);
  ::waitpid(child, nullptr, 0);
  if (peak_kib < 0) return Fail("cannot read VmHWM of the program");
  if (cpu_ms < 0) return Fail("cannot read the program's CPU time");
  std::printf("{\"startup_ms\": %.3f, \"cpu_ms\": %.3f, \"vmhwm_kib\": %ld}\n", startup_ms, cpu_ms,
              peak_kib);
  return 0;
}
