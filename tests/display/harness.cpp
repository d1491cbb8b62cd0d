#include "harness.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point Deadline(double seconds) {
    return Clock::now() +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// Children die with the test process, so a failed test leaves nothing behind.
void DieWithParent() {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

[[noreturn]] void Exec(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    std::perror(argv[0]);
    _exit(127);
}

int StatusOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::uint32_t ExpectedPixel(const Picture& picture, int x, int y, int width) {
    if (picture.kind == Picture::Solid) {
        return picture.ink;
    }
    const long index = static_cast<long>(y) * (width + 1) + x;
    return (picture.phase ^ (index & 1)) ? picture.ink : XBlack;
}

}  // namespace

TestServer StartServer(std::vector<std::string> command, bool connect) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe");
    }
    command.push_back(std::to_string(pipeFds[1]));
    TestServer server;
    server.pid = fork();
    if (server.pid == 0) {
        DieWithParent();
        close(pipeFds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        Exec(command);
    }
    close(pipeFds[1]);
    char number[32] = {};
    std::size_t got = 0;
    while (got < sizeof number - 1 && std::strchr(number, '\n') == nullptr) {
        const ssize_t n = read(pipeFds[0], number + got, sizeof number - 1 - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    close(pipeFds[0]);
    if (got == 0) {
        throw std::runtime_error("X server did not start: " + command[0]);
    }
    server.display = ":" + std::to_string(std::atoi(number));
    server.connection = connect ? XOpenDisplay(server.display.c_str()) : nullptr;
    if (connect && server.connection == nullptr) {
        throw std::runtime_error("cannot connect to the test server " + server.display);
    }
    return server;
}

TestServer StartXvfb(int width, int height) {
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    return StartServer(
        {"Xvfb", "-screen", "0", screen, "-nolisten", "tcp", "-noreset", "-displayfd"});
}

void StopServer(TestServer& server) {
    if (server.connection != nullptr) {
        XCloseDisplay(server.connection);
        server.connection = nullptr;
    }
    if (server.pid > 0) {
        kill(server.pid, SIGTERM);
        int status;
        waitpid(server.pid, &status, 0);
        server.pid = -1;
    }
}

RunningProgram StartProgram(const std::string& display, std::vector<std::string> environment) {
    RunningProgram program;
    char path[] = "/tmp/tftpattern-stderr-XXXXXX";
    const int errors = mkstemp(path);
    program.stderrPath = path;
    program.pid = fork();
    if (program.pid == 0) {
        DieWithParent();
        dup2(errors, 2);
        if (display.empty()) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", display.c_str(), 1);
        }
        for (const std::string& entry : environment) {
            putenv(const_cast<char*>(entry.c_str()));
        }
        Exec({TFTPATTERN_BINARY});
    }
    close(errors);
    return program;
}

std::optional<int> WaitForExit(RunningProgram& program, double seconds) {
    const auto deadline = Deadline(seconds);
    while (program.pid > 0) {
        int status;
        if (waitpid(program.pid, &status, WNOHANG) == program.pid) {
            program.pid = -1;
            return StatusOf(status);
        }
        if (Clock::now() > deadline) {
            return std::nullopt;
        }
        Sleep(0.01);
    }
    return std::nullopt;
}

bool StillRunning(RunningProgram& program, double forSeconds) {
    return !WaitForExit(program, forSeconds).has_value();
}

std::string ProgramErrors(const RunningProgram& program) {
    std::ifstream file(program.stderrPath);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void StopProgram(RunningProgram& program) {
    if (program.pid > 0) {
        kill(program.pid, SIGKILL);
        int status;
        waitpid(program.pid, &status, 0);
        program.pid = -1;
    }
    if (!program.stderrPath.empty()) {
        unlink(program.stderrPath.c_str());
        program.stderrPath.clear();
    }
}

Window FindProgramWindow(Display* display, double seconds) {
    const auto deadline = Deadline(seconds);
    do {
        Window root, parent, *children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && found == 0; ++i) {
                char* name = nullptr;
                if (XFetchName(display, children[i], &name) && name != nullptr) {
                    if (std::strcmp(name, WindowTitle) == 0) {
                        found = children[i];
                    }
                    XFree(name);
                }
            }
            XFree(children);
        }
        if (found != 0) {
            return found;
        }
        Sleep(0.02);
    } while (Clock::now() < deadline);
    return 0;
}

WindowPlace PlaceOf(Display* display, Window window) {
    XWindowAttributes attributes = {};
    XGetWindowAttributes(display, window, &attributes);
    WindowPlace place = {-1, -1, attributes.width, attributes.height,
                         attributes.map_state == IsViewable};
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &place.x, &place.y,
                          &child);
    return place;
}

void SendWmProtocol(Display* display, Window window, const char* protocol, long time, long extra) {
    XEvent message = {};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, protocol, False));
    message.xclient.data.l[1] = time;
    message.xclient.data.l[2] = extra;
    XSendEvent(display, window, False, NoEventMask, &message);
    XSync(display, False);
}

std::string Describe(const Picture& picture) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %06X phase %d",
                  picture.kind == Picture::Solid ? "solid" : "checkerboard", picture.ink,
                  picture.phase);
    return text;
}

bool ShowsPicture(Display* display, int x, int y, int width, int height, Picture picture,
                  std::string* difference) {
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr || image->bits_per_pixel != 32) {
        throw std::runtime_error("cannot read the root window as 32-bit pixels");
    }
    long wrong = 0;
    char first[96] = "";
    for (int row = 0; row < height; ++row) {
        const auto* pixels =
            reinterpret_cast<const std::uint32_t*>(image->data + row * image->bytes_per_line);
        for (int column = 0; column < width; ++column) {
            const std::uint32_t seen = pixels[column] & 0xFFFFFF;
            const std::uint32_t expected = ExpectedPixel(picture, column, row, width);
            if (seen != expected && wrong++ == 0) {
                std::snprintf(first, sizeof first, "pixel (%d, %d) is %06X, not %06X", x + column,
                              y + row, seen, expected);
            }
        }
    }
    XDestroyImage(image);
    if (wrong != 0 && difference != nullptr) {
        *difference =
            Describe(picture) + ": " + std::to_string(wrong) + " pixels differ; first " + first;
    }
    return wrong == 0;
}

bool WaitForPicture(Display* display, int x, int y, int width, int height, Picture picture,
                    double seconds, std::string* difference) {
    const auto deadline = Deadline(seconds);
    while (!ShowsPicture(display, x, y, width, height, picture, difference)) {
        if (Clock::now() > deadline) {
            return false;
        }
        Sleep(0.02);
    }
    return true;
}

KeyCode KeyCodeOf(Display* display, const char* xkbName) {
    XkbDescPtr keyboard = XkbGetMap(display, 0, XkbUseCoreKbd);
    XkbGetNames(display, XkbKeyNamesMask, keyboard);
    KeyCode found = 0;
    for (int code = keyboard->min_key_code; code <= keyboard->max_key_code && !found; ++code) {
        if (std::strncmp(keyboard->names->keys[code].name, xkbName, XkbKeyNameLength) == 0) {
            found = static_cast<KeyCode>(code);
        }
    }
    XkbFreeKeyboard(keyboard, 0, True);
    if (found == 0) {
        throw std::runtime_error(std::string("no key named ") + xkbName);
    }
    return found;
}

void PressKey(Display* display, const char* xkbName) {
    XTestFakeKeyEvent(display, KeyCodeOf(display, xkbName), True, CurrentTime);
    XSync(display, False);
}

void ReleaseKey(Display* display, const char* xkbName) {
    XTestFakeKeyEvent(display, KeyCodeOf(display, xkbName), False, CurrentTime);
    XSync(display, False);
}

void TapKey(Display* display, const char* xkbName) {
    const KeyCode code = KeyCodeOf(display, xkbName);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
}

void Click(Display* display, unsigned int button) {
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XSync(display, False);
}

void MovePointer(Display* display, int x, int y) {
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

int RunOnDisplay(const std::string& display, const std::string& command) {
    const std::string line = "DISPLAY=" + display + " " + command + " >/dev/null 2>&1";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command name, which is in parentheses and may hold spaces.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14 || i == 15) {
            ticks += std::stod(field);
        }
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
