// Starts a program on an X display and measures it from outside, the way a
// user meets it: how long until its first window is mapped, how long from
// pressing Return in that window until the next window is mapped, and then
// what the running program costs while it sits idle.
//
//   xprobe [--press-ok] [--idle SECONDS] [--settle SECONDS] [--timeout SECONDS]
//          [--wine-prefix DIR] [--main NAME] [--verbose] -- COMMAND [ARG...]
//
// The probe is the display's window manager, a minimal one as ICCCM has it:
// it maps the windows that ask to be mapped, passes their configure
// requests on, keeps their WM_STATE, and gives each newly mapped window the
// input focus, as a station's desktop would. (Without any window manager
// Wine waits two seconds on every window it hides for a WM_STATE change that
// never comes, and nobody gives its windows the focus.)
//
// Prints key=value lines on standard output:
//   pid                   the launched process
//   map_ms, map_title     process start -> first top-level window mapped
//   ok_unmap_ms           Return pressed -> that window unmapped
//   ok_ms, ok_title       Return pressed -> the next top-level window mapped
//   idle_s, cpu_ms, sched_ms, wineserver_ms, main_sched_ms, procs, voluntary, involuntary,
//   wakeups, wake_per_s, hwm_kb      the idle figures (see measureIdle)
// and exits 0, or prints error=... and exits 1.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <poll.h>
#include <set>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}
double msSince(Clock::time_point t) { return msBetween(t, Clock::now()); }

pid_t launchedChild = 0;

[[noreturn]] void finish(int status) {
    if (launchedChild > 0) {
        kill(-launchedChild, SIGTERM);
        waitpid(launchedChild, nullptr, 0);
    }
    std::fflush(stdout);
    std::exit(status);
}

[[noreturn]] void die(const std::string& what) {
    std::printf("error=%s\n", what.c_str());
    finish(1);
}

// Stopped from outside: the program goes with the probe.
void onStop(int) {
    if (launchedChild > 0) kill(-launchedChild, SIGTERM);
    _exit(1);
}

struct Options {
    bool pressOk = false;
    double idleSeconds = 0;
    double settleSeconds = 3;
    double timeoutSeconds = 60;
    std::string winePrefix;  // empty: the launched process alone
    std::string mainName;    // the process whose main thread's wake-ups count
    bool verbose = false;
    std::vector<char*> command;
};

Options parse(int argc, char** argv) {
    Options o;
    int i = 1;
    const auto value = [&](const char* name) -> std::string {
        if (i + 1 >= argc) die(std::string("missing value for ") + name);
        return argv[++i];
    };
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (a == "--press-ok")
            o.pressOk = true;
        else if (a == "--idle")
            o.idleSeconds = std::stod(value("--idle"));
        else if (a == "--settle")
            o.settleSeconds = std::stod(value("--settle"));
        else if (a == "--timeout")
            o.timeoutSeconds = std::stod(value("--timeout"));
        else if (a == "--wine-prefix")
            o.winePrefix = value("--wine-prefix");
        else if (a == "--main")
            o.mainName = value("--main");
        else if (a == "--verbose")
            o.verbose = true;
        else
            die("unknown option " + a);
    }
    for (; i < argc; ++i) o.command.push_back(argv[i]);
    if (o.command.empty()) die("no command");
    o.command.push_back(nullptr);
    return o;
}

// ---- the display and its window manager ----------------------------------

bool anotherManager = false;
int onXError(Display*, XErrorEvent* e) {
    if (e->error_code == BadAccess) anotherManager = true;
    return 0;
}

class Display_ {
public:
    Display_(bool verbose) : verbose_(verbose) {
        d_ = XOpenDisplay(nullptr);
        if (!d_) die("cannot open display");
        XSetErrorHandler(onXError);
        root_ = DefaultRootWindow(d_);
        wmState_ = XInternAtom(d_, "WM_STATE", False);
        XSelectInput(d_, root_, SubstructureRedirectMask | SubstructureNotifyMask);
        XSync(d_, False);
        if (anotherManager) die("the display already has a window manager");
    }

    Display* x() const { return d_; }

    // Handles the display's events until `until` says so or the deadline
    // passes; false on the deadline.
    bool pump(Clock::time_point deadline, const std::function<bool(const XEvent&)>& until) {
        const int fd = ConnectionNumber(d_);
        while (true) {
            while (XPending(d_)) {
                XEvent e;
                XNextEvent(d_, &e);
                manage(e);
                if (until && until(e)) return true;
            }
            if (launchedChild > 0 && !exited_ && waitpid(launchedChild, nullptr, WNOHANG) > 0) {
                exited_ = true;
                exitedAt_ = Clock::now();
                if (verbose_) std::fprintf(stderr, "xprobe: program exited\n");
            }
            if (exited_ && until) {
                XEvent none{};
                if (until(none)) return true;
            }
            const double left = msBetween(Clock::now(), deadline);
            if (left <= 0) return false;
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, static_cast<int>(std::clamp(left, 1.0, 50.0)));
        }
    }

    bool exited() const { return exited_; }

    std::string titleOf(Window w) {
        Atom utf8 = XInternAtom(d_, "UTF8_STRING", False);
        Atom netName = XInternAtom(d_, "_NET_WM_NAME", False);
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(d_, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                               &data) == Success &&
            data) {
            title.assign(reinterpret_cast<char*>(data), count);
            XFree(data);
        }
        if (title.empty()) {
            char* name = nullptr;
            if (XFetchName(d_, w, &name) && name) {
                title = name;
                XFree(name);
            }
        }
        for (char& c : title)
            if (c == '\n' || c == '=') c = ' ';
        return title;
    }

    // A mapped top-level window a user would see (not a menu or tooltip).
    static bool isTopLevelMap(const XEvent& e) {
        return e.type == MapNotify && !e.xmap.override_redirect;
    }

private:
    void setState(Window w, long state) {
        const long data[2] = {state, static_cast<long>(None)};
        XChangeProperty(d_, w, wmState_, wmState_, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data), 2);
    }

    void manage(const XEvent& e) {
        switch (e.type) {
            case MapRequest:
                managed_.insert(e.xmaprequest.window);
                setState(e.xmaprequest.window, NormalState);
                XMapWindow(d_, e.xmaprequest.window);
                XFlush(d_);
                break;
            case ConfigureRequest: {
                const XConfigureRequestEvent& r = e.xconfigurerequest;
                XWindowChanges c{r.x, r.y, r.width, r.height, r.border_width, r.above, r.detail};
                XConfigureWindow(d_, r.window, static_cast<unsigned>(r.value_mask), &c);
                XFlush(d_);
                break;
            }
            case CirculateRequest:
                if (e.xcirculaterequest.place == PlaceOnTop)
                    XRaiseWindow(d_, e.xcirculaterequest.window);
                else
                    XLowerWindow(d_, e.xcirculaterequest.window);
                break;
            case MapNotify:
                if (verbose_)
                    std::fprintf(stderr, "xprobe: mapped 0x%lx%s \"%s\"\n", e.xmap.window,
                                 e.xmap.override_redirect ? " (override)" : "",
                                 titleOf(e.xmap.window).c_str());
                if (!e.xmap.override_redirect) {
                    XSetInputFocus(d_, e.xmap.window, RevertToPointerRoot, CurrentTime);
                    XFlush(d_);
                }
                break;
            case UnmapNotify:
                if (verbose_) std::fprintf(stderr, "xprobe: unmapped 0x%lx\n", e.xunmap.window);
                if (managed_.count(e.xunmap.window)) {
                    setState(e.xunmap.window, WithdrawnState);
                    XFlush(d_);
                }
                break;
            case DestroyNotify:
                managed_.erase(e.xdestroywindow.window);
                break;
        }
    }

    Display* d_ = nullptr;
    Window root_ = None;
    Atom wmState_ = None;
    std::set<Window> managed_;
    bool verbose_;
    bool exited_ = false;
    Clock::time_point exitedAt_;
};

// ---- the processes -------------------------------------------------------

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// /proc/PID/stat: utime and stime (clock ticks), fields 14 and 15; counted
// after the command name, which is in parentheses and may hold spaces.
long long cpuTicks(pid_t pid) {
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream in(stat.substr(close + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int n = 3; in >> field; ++n) {
        if (n == 14) utime = std::stoll(field);
        if (n == 15) {
            stime = std::stoll(field);
            break;
        }
    }
    return utime + stime;
}

// The run time of every live thread, in nanoseconds (first field of each
// task's schedstat): finer than the clock ticks of /proc/PID/stat.
long long schedNs(pid_t pid) {
    long long sum = 0;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            if (e->d_name[0] == '.') continue;
            std::istringstream in(readFile(dir + "/" + e->d_name + "/schedstat"));
            long long ns = 0;
            if (in >> ns) sum += ns;
        }
        closedir(d);
    }
    return sum;
}

long long statusField(const std::string& path, const char* key) {
    std::istringstream in(readFile(path));
    std::string line;
    const std::size_t n = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ':')
            return std::stoll(line.substr(n + 1));
    return -1;
}

std::string commOf(pid_t pid) {
    std::string c = readFile("/proc/" + std::to_string(pid) + "/comm");
    while (!c.empty() && c.back() == '\n') c.pop_back();
    return c;
}

std::string cmdlineOf(pid_t pid) {
    std::string c = readFile("/proc/" + std::to_string(pid) + "/cmdline");
    std::replace(c.begin(), c.end(), '\0', ' ');
    return c;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool hasEnvironment(pid_t pid, const std::string& entry) {
    const std::string env = readFile("/proc/" + std::to_string(pid) + "/environ");
    for (std::size_t at = 0; at < env.size();) {
        std::size_t end = env.find('\0', at);
        if (end == std::string::npos) end = env.size();
        if (env.compare(at, end - at, entry) == 0) return true;
        at = end + 1;
    }
    return false;
}

// The processes that make up the program: the launched one, or under Wine
// every process started with that WINEPREFIX: the program, the services Wine
// starts beside it, and wineserver.
// The probe itself and whatever started it are not the program, whatever
// their environment.
std::set<pid_t> probeAndAncestors() {
    std::set<pid_t> out;
    for (pid_t p = getpid(); p > 1;) {
        out.insert(p);
        p = static_cast<pid_t>(statusField("/proc/" + std::to_string(p) + "/status", "PPid"));
    }
    return out;
}

bool isWineserver(pid_t pid) { return commOf(pid).rfind("wineserver", 0) == 0; }

std::vector<pid_t> processes(const Options& o, pid_t child) {
    if (o.winePrefix.empty()) return {child};
    const std::set<pid_t> ours = probeAndAncestors();
    std::vector<pid_t> found;
    if (DIR* d = opendir("/proc")) {
        while (dirent* e = readdir(d)) {
            if (!std::isdigit(static_cast<unsigned char>(e->d_name[0]))) continue;
            const pid_t pid = std::atoi(e->d_name);
            if (!ours.count(pid) && hasEnvironment(pid, "WINEPREFIX=" + o.winePrefix))
                found.push_back(pid);
        }
        closedir(d);
    }
    return found;
}

pid_t mainProcess(const Options& o, pid_t child, const std::vector<pid_t>& all) {
    if (o.mainName.empty()) return child;
    for (pid_t p : all)
        if (lower(cmdlineOf(p)).find(lower(o.mainName)) != std::string::npos && !isWineserver(p))
            return p;
    die("no process named " + o.mainName);
}

struct Sample {
    std::map<pid_t, long long> ticks, ns;
    long long voluntary = 0, involuntary = 0;
};

Sample sample(const std::vector<pid_t>& all, pid_t main) {
    Sample s;
    for (pid_t p : all) {
        s.ticks[p] = cpuTicks(p);
        s.ns[p] = schedNs(p);
    }
    const std::string status =
        "/proc/" + std::to_string(main) + "/task/" + std::to_string(main) + "/status";
    s.voluntary = statusField(status, "voluntary_ctxt_switches");
    s.involuntary = statusField(status, "nonvoluntary_ctxt_switches");
    return s;
}

// Over the idle period: the CPU the whole program used (utime+stime, and
// the scheduler's nanosecond run time), wineserver's share of it, the main
// thread's context switches (each return from a wait is a voluntary one;
// being preempted an involuntary one), and the main process's peak
// resident set. The display's events are handled all along.
void measureIdle(const Options& o, pid_t child, Display_& display) {
    display.pump(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                    std::chrono::duration<double>(o.settleSeconds)),
                 nullptr);
    const std::vector<pid_t> all = processes(o, child);
    const pid_t main = mainProcess(o, child, all);
    const Sample before = sample(all, main);
    const auto start = Clock::now();
    display.pump(start + std::chrono::duration_cast<Clock::duration>(
                             std::chrono::duration<double>(o.idleSeconds)),
                 nullptr);
    const double seconds = msSince(start) / 1000;
    const Sample after = sample(all, main);
    if (after.voluntary < 0) die("the main process went away while idle");

    const double msPerTick = 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    long long ticks = 0, ns = 0, serverNs = 0, mainNs = 0;
    for (pid_t p : all) {
        if (after.ticks.at(p) < 0) continue;  // exited meanwhile
        ticks += after.ticks.at(p) - before.ticks.at(p);
        const long long used = after.ns.at(p) - before.ns.at(p);
        ns += used;
        if (isWineserver(p)) serverNs += used;
        if (p == main) mainNs = used;
        if (o.verbose)
            std::fprintf(stderr, "xprobe: pid %d %s: %.3f ms\n", p, commOf(p).c_str(),
                         static_cast<double>(used) / 1e6);
    }
    const long long voluntary = after.voluntary - before.voluntary;
    const long long involuntary = after.involuntary - before.involuntary;
    std::printf("idle_s=%.3f\n", seconds);
    std::printf("cpu_ms=%.0f\n", static_cast<double>(ticks) * msPerTick);
    std::printf("sched_ms=%.3f\n", static_cast<double>(ns) / 1e6);
    std::printf("wineserver_ms=%.3f\n", static_cast<double>(serverNs) / 1e6);
    std::printf("main_sched_ms=%.3f\n", static_cast<double>(mainNs) / 1e6);
    std::printf("procs=%zu\n", all.size());
    std::printf("voluntary=%lld\ninvoluntary=%lld\n", voluntary, involuntary);
    std::printf("wakeups=%lld\n", voluntary + involuntary);
    std::printf("wake_per_s=%.3f\n", static_cast<double>(voluntary + involuntary) / seconds);
    std::printf("voluntary_per_s=%.3f\n", static_cast<double>(voluntary) / seconds);
    std::printf("hwm_kb=%lld\n", statusField("/proc/" + std::to_string(main) + "/status", "VmHWM"));
}

Clock::time_point after(double seconds) {
    return Clock::now() +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    Display_ display(o.verbose);
    Display* d = display.x();
    int event, error, major, minor;
    if (o.pressOk && !XTestQueryExtension(d, &event, &error, &major, &minor))
        die("the display has no XTEST");

    const auto launched = Clock::now();
    const pid_t child = fork();
    if (child < 0) die("fork failed");
    if (child == 0) {
        setpgid(0, 0);
        dup2(2, 1);  // standard output carries the figures alone
        execvp(o.command[0], o.command.data());
        std::_Exit(127);
    }
    setpgid(child, child);
    launchedChild = child;
    signal(SIGTERM, onStop);
    signal(SIGINT, onStop);
    std::printf("pid=%d\n", child);
    std::fflush(stdout);

    Window first = None;
    Clock::time_point mapped;
    if (!display.pump(after(o.timeoutSeconds), [&](const XEvent& e) {
            if (display.exited()) die("the program exited before showing a window");
            if (!Display_::isTopLevelMap(e)) return false;
            mapped = Clock::now();
            first = e.xmap.window;
            return true;
        }))
        die("no window within " + std::to_string(static_cast<int>(o.timeoutSeconds)) + " s");
    std::printf("map_ms=%.2f\nmap_title=%s\n", msBetween(launched, mapped),
                display.titleOf(first).c_str());
    std::fflush(stdout);

    if (o.pressOk) {
        // The window has the focus from the window manager: the key goes to it.
        XSync(d, False);
        const KeyCode ret = XKeysymToKeycode(d, XK_Return);
        XTestFakeKeyEvent(d, ret, True, CurrentTime);
        XFlush(d);
        const auto pressed = Clock::now();
        XTestFakeKeyEvent(d, ret, False, CurrentTime);
        XFlush(d);
        std::optional<Clock::time_point> unmapped;
        Window next = None;
        Clock::time_point nextMapped;
        display.pump(after(o.timeoutSeconds), [&](const XEvent& e) {
            if (e.type == UnmapNotify && e.xunmap.window == first && !unmapped)
                unmapped = Clock::now();
            if (Display_::isTopLevelMap(e)) {
                nextMapped = Clock::now();
                next = e.xmap.window;
                return true;
            }
            return display.exited() && unmapped.has_value();
        });
        if (unmapped) std::printf("ok_unmap_ms=%.2f\n", msBetween(pressed, *unmapped));
        if (next != None)
            std::printf("ok_ms=%.2f\nok_title=%s\n", msBetween(pressed, nextMapped),
                        display.titleOf(next).c_str());
        else if (!unmapped)
            die("nothing happened on Return within " +
                std::to_string(static_cast<int>(o.timeoutSeconds)) + " s");
        std::fflush(stdout);
    }

    if (o.idleSeconds > 0) measureIdle(o, child, display);
    finish(0);
}
