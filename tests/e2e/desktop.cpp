#include "tests/e2e/desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

struct Session {
    std::string display;
    std::filesystem::path log;
    Process server;
    Process windowManager;
};

Session& session()
{
    static Session instance;
    return instance;
}

// argv as the C strings execve wants; the strings must outlive the call.
std::vector<char*> cStrings(const std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (const std::string& s : strings) {
        result.push_back(const_cast<char*>(s.c_str()));
    }
    result.push_back(nullptr);
    return result;
}

bool onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (::access((std::filesystem::path(folder) / program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

int openLog(const std::filesystem::path& file)
{
    if (file.empty()) {
        return ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    }
    return ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

// In the child: the three standard streams, the folder, then the program.
[[noreturn]] void execChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                            const std::filesystem::path& cwd, int out, int err)
{
    ::setpgid(0, 0); // its own group, so that it never receives the test's signals
    const int in = ::open("/dev/null", O_RDONLY);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) {
        ::_exit(126);
    }
    std::vector<char*> args = cStrings(argv);
    std::vector<char*> envp = cStrings(env);
    ::execvpe(args[0], args.data(), envp.data());
    ::_exit(127);
}

std::optional<int> waitStatus(pid_t pid, Seconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (true) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return status;
        }
        if (done < 0 || Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::optional<long> parseNumber(const std::string& text)
{
    try {
        std::size_t used = 0;
        const long value = std::stol(text, &used, 0);
        return value;
    } catch (...) {
        return std::nullopt;
    }
}

std::vector<Window> windowList(const std::string& output)
{
    std::vector<Window> windows;
    std::stringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (const auto id = parseNumber(line)) {
            windows.push_back(static_cast<Window>(*id));
        }
    }
    return windows;
}

std::string hex(Window window)
{
    std::ostringstream out;
    out << "0x" << std::hex << window;
    return out.str();
}

QImage loadScreenshot(const CommandResult& result, const std::filesystem::path& path)
{
    if (result.exitCode != 0) {
        return {};
    }
    QImage image(QString::fromStdString(path.string()));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

// --- Programs --------------------------------------------------------------------

CommandResult run(const std::vector<std::string>& argv, Seconds timeout)
{
    CommandResult result;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return result;
    }
    const int err = openLog(session().log);
    const pid_t pid = ::fork();
    if (pid == 0) {
        execChild(argv, Desktop::environment(), {}, pipeFds[1], err);
    }
    ::close(pipeFds[1]);
    ::close(err);
    if (pid < 0) {
        ::close(pipeFds[0]);
        return result;
    }
    const auto deadline = Clock::now() + timeout;
    bool open = true;
    while (open && Clock::now() < deadline) {
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (::poll(&fd, 1, 20) > 0) {
            char buffer[4096];
            const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
            if (n > 0) {
                result.output.append(buffer, static_cast<std::size_t>(n));
            } else {
                open = false;
            }
        }
    }
    ::close(pipeFds[0]);
    const auto remaining = std::chrono::duration_cast<Seconds>(deadline - Clock::now());
    std::optional<int> status = waitStatus(pid, remaining > Seconds(0.05) ? remaining : Seconds(0.05));
    if (!status) {
        ::kill(-pid, SIGKILL);
        ::kill(pid, SIGKILL);
        waitStatus(pid, Seconds(2));
        return result;
    }
    result.exitCode = WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    return result;
}

Process::Process(Process&& other) noexcept : pid_(other.pid_), status_(other.status_)
{
    other.pid_ = -1;
}

Process& Process::operator=(Process&& other) noexcept
{
    if (this != &other) {
        stop();
        pid_ = other.pid_;
        status_ = other.status_;
        other.pid_ = -1;
    }
    return *this;
}

Process::~Process()
{
    stop();
}

Process Process::start(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                       const std::filesystem::path& cwd, const std::filesystem::path& logFile)
{
    Process process;
    const int log = openLog(logFile);
    const pid_t pid = ::fork();
    if (pid == 0) {
        execChild(argv, env, cwd, log, log);
    }
    ::close(log);
    process.pid_ = pid;
    return process;
}

bool Process::running()
{
    if (pid_ < 0 || status_) {
        return false;
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        return false;
    }
    return true;
}

bool Process::waitForExit(Seconds timeout)
{
    if (pid_ < 0) {
        return false;
    }
    if (!status_) {
        status_ = waitStatus(pid_, timeout);
    }
    return status_.has_value();
}

void Process::stop()
{
    if (pid_ < 0 || !running()) {
        return;
    }
    ::kill(pid_, SIGTERM);
    if (!waitForExit(Seconds(2))) {
        ::kill(pid_, SIGKILL);
        waitForExit(Seconds(2));
    }
}

// --- The desktop -----------------------------------------------------------------

void Desktop::start(const std::filesystem::path& logFolder)
{
    Session& s = session();
    if (!s.display.empty()) {
        return;
    }
    for (const char* program : {"Xvfb", "openbox", "xdotool", "import", "xwininfo", "xprop", "xmessage", "xclip"}) {
        if (!onPath(program)) {
            throw std::runtime_error(std::string("the desktop tests need '") + program +
                                     "' on the PATH; scripts/setup installs it");
        }
    }
    std::filesystem::create_directories(logFolder);
    s.log = logFolder / "desktop.log";
    std::filesystem::remove(s.log);

    // The server picks a free display number itself and writes it to the pipe.
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        throw std::runtime_error("no pipe for the X server's display number");
    }
    ::fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        env.emplace_back(*e);
    }
    s.server = Process::start({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                               std::to_string(Width) + "x" + std::to_string(Height) + "x24",
                               "-nolisten", "tcp", "-noreset"},
                              env, {}, s.log);
    ::close(pipeFds[1]);
    std::string number;
    const auto deadline = Clock::now() + Seconds(15);
    while (Clock::now() < deadline && number.find('\n') == std::string::npos) {
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (::poll(&fd, 1, 50) > 0) {
            char buffer[32];
            const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            number.append(buffer, static_cast<std::size_t>(n));
        }
        if (!s.server.running()) {
            break;
        }
    }
    ::close(pipeFds[0]);
    if (number.find('\n') == std::string::npos) {
        s.server.stop();
        throw std::runtime_error("the X server did not start; see " + s.log.string());
    }
    s.display = ":" + number.substr(0, number.find('\n'));

    s.windowManager = Process::start({"openbox", "--sm-disable"}, environment(), {}, s.log);
    const auto wmDeadline = Clock::now() + Seconds(15);
    while (Clock::now() < wmDeadline) {
        const CommandResult check = run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, Seconds(5));
        if (check.output.find("window id") != std::string::npos) {
            return;
        }
        sleepFor(Seconds(0.05));
    }
    stop();
    throw std::runtime_error("the window manager did not start; see " + s.log.string());
}

void Desktop::stop()
{
    Session& s = session();
    s.windowManager.stop();
    s.server.stop();
    s.display.clear();
}

const std::string& Desktop::display()
{
    return session().display;
}

std::vector<std::string> Desktop::environment()
{
    static const char* const dropped[] = {
        "DISPLAY=", "WAYLAND_DISPLAY=", "XAUTHORITY=", "QT_QPA_PLATFORM=", "QT_QPA_PLATFORMTHEME=",
        "QT_STYLE_OVERRIDE=", "QT_SCALE_FACTOR=", "QT_SCREEN_SCALE_FACTORS=", "QT_AUTO_SCREEN_SCALE_FACTOR=",
        "QT_ENABLE_HIGHDPI_SCALING=", "QT_FONT_DPI=", "SESSION_MANAGER=", "ALSOFT_CONF=", "XDG_SESSION_TYPE=",
        "XDG_CURRENT_DESKTOP=", "DESKTOP_SESSION="};
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        bool keep = true;
        for (const char* prefix : dropped) {
            keep = keep && std::strncmp(*e, prefix, std::strlen(prefix)) != 0;
        }
        if (keep) {
            env.emplace_back(*e);
        }
    }
    env.push_back("DISPLAY=" + session().display);
    env.emplace_back("QT_QPA_PLATFORM=xcb");
    return env;
}

// --- Windows ---------------------------------------------------------------------

std::vector<Window> findWindows(const std::string& titlePattern)
{
    return windowList(run({"xdotool", "search", "--onlyvisible", "--name", titlePattern}).output);
}

std::vector<Window> windowsOfProcess(pid_t pid)
{
    return windowList(run({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)}).output);
}

std::optional<Window> waitForWindow(const std::string& titlePattern, Seconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    do {
        const std::vector<Window> windows = findWindows(titlePattern);
        if (!windows.empty()) {
            return windows.front();
        }
        sleepFor(Seconds(0.05));
    } while (Clock::now() < deadline);
    return std::nullopt;
}

bool waitForNoWindow(const std::string& titlePattern, Seconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    do {
        if (findWindows(titlePattern).empty()) {
            return true;
        }
        sleepFor(Seconds(0.05));
    } while (Clock::now() < deadline);
    return false;
}

std::string windowTitle(Window window)
{
    std::string name = run({"xdotool", "getwindowname", std::to_string(window)}).output;
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) {
        name.pop_back();
    }
    return name;
}

std::optional<Geometry> windowGeometry(Window window)
{
    const CommandResult info = run({"xwininfo", "-id", hex(window)});
    if (info.exitCode != 0) {
        return std::nullopt;
    }
    auto field = [&](const std::string& label) -> std::optional<int> {
        const std::regex pattern(label + R"(:\s*(-?\d+))");
        std::smatch match;
        if (std::regex_search(info.output, match, pattern)) {
            return std::stoi(match[1]);
        }
        return std::nullopt;
    };
    const auto x = field("Absolute upper-left X");
    const auto y = field("Absolute upper-left Y");
    const auto width = field("Width");
    const auto height = field("Height");
    if (!x || !y || !width || !height) {
        return std::nullopt;
    }
    return Geometry{*x, *y, *width, *height};
}

std::optional<std::array<int, 4>> frameExtents(Window window)
{
    const CommandResult info = run({"xprop", "-id", hex(window), "_NET_FRAME_EXTENTS"});
    const std::regex pattern(R"(=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))");
    std::smatch match;
    if (info.exitCode != 0 || !std::regex_search(info.output, match, pattern)) {
        return std::nullopt;
    }
    return std::array<int, 4>{std::stoi(match[1]), std::stoi(match[2]), std::stoi(match[3]),
                              std::stoi(match[4])};
}

Window activeWindow()
{
    const auto id = parseNumber(run({"xdotool", "getactivewindow"}).output);
    return id ? static_cast<Window>(*id) : 0;
}

bool activate(Window window, Seconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    run({"xdotool", "windowactivate", std::to_string(window)});
    while (Clock::now() < deadline) {
        if (activeWindow() == window) {
            sleepFor(Seconds(0.1)); // let the program see its activation
            return true;
        }
        sleepFor(Seconds(0.05));
    }
    return false;
}

// --- Input -----------------------------------------------------------------------

void pressKeys(const std::string& keys)
{
    run({"xdotool", "key", "--delay", "60", keys});
}

void keyDown(const std::string& key)
{
    run({"xdotool", "keydown", key});
}

void keyUp(const std::string& key)
{
    run({"xdotool", "keyup", key});
}

void tapKey(const std::string& key, Seconds hold)
{
    keyDown(key);
    sleepFor(hold);
    keyUp(key);
}

void typeText(const std::string& text)
{
    run({"xdotool", "type", "--delay", "15", "--", text}, Seconds(30));
}

void moveMouse(int x, int y)
{
    run({"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

void click(int x, int y)
{
    moveMouse(x, y);
    sleepFor(Seconds(0.1));
    run({"xdotool", "click", "1"});
}

void resizeWindow(Window window, int width, int height)
{
    run({"xdotool", "windowsize", std::to_string(window), std::to_string(width), std::to_string(height)});
}

// --- What a person sees ------------------------------------------------------------

QImage screenshotOfWindow(Window window, const std::filesystem::path& path)
{
    return loadScreenshot(run({"import", "-silent", "-window", hex(window), "png:" + path.string()}), path);
}

QImage screenshotOfScreen(const std::filesystem::path& path)
{
    return loadScreenshot(run({"import", "-silent", "-window", "root", "png:" + path.string()}), path);
}

std::string clipboardText()
{
    const CommandResult result = run({"xclip", "-selection", "clipboard", "-o"}, Seconds(3));
    return result.exitCode == 0 ? result.output : std::string();
}

void sleepFor(Seconds duration)
{
    std::this_thread::sleep_for(duration);
}

} // namespace e2e
