// Global key and button state over the program's own X connection.
//
// XInput 2 raw events from the root window set a latch for every press,
// whichever window has the focus; the current state comes from the server.
// Keys are found by their XKB names, that is by their place on the keyboard,
// so the number row counts on any layout and the keypad never does.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/platform_internal.h"

unsigned long InputEventsRead = 0;

namespace {

struct KeyPlace {
    int key;
    const char* name;
};

constexpr KeyPlace KeyPlaces[] = {
    {KeyEscape, "ESC"},  {KeyShift, "LFSH"},  {KeyShift, "RTSH"},  {KeyCtrl, "LCTL"},
    {KeyCtrl, "RCTL"},   {KeyDigit0, "AE10"}, {KeyDigit1, "AE01"}, {KeyDigit2, "AE02"},
    {KeyDigit3, "AE03"}, {KeyDigit4, "AE04"},
};

constexpr int MaxKeyCodes = 2;  // either Shift, either Ctrl

Display* InputDisplay = nullptr;
std::string DisplayName;
int XInputOpcode = 0;
int XkbEventBase = 0;
unsigned char KeyCodes[KeyCount][MaxKeyCodes];
// Raw events give physical buttons; the map turns them into the logical ones
// the pointer state reports, so a left-handed mapping counts the same in both.
unsigned char ButtonMap[256];
int ButtonMapSize = 0;
bool Latched[KeyCount];

[[noreturn]] int LostServer(Display*) {
    Die("lost the connection to the X server on display \"%s\"", DisplayName.c_str());
}

// Looks up the keycode of every key by its XKB name; called again whenever
// the keyboard mapping changes.
void FindKeyCodes() {
    std::memset(KeyCodes, 0, sizeof KeyCodes);
    XkbDescPtr keyboard = XkbGetMap(InputDisplay, 0, XkbUseCoreKbd);
    if (keyboard == nullptr) {
        Die("cannot read the keyboard map of display \"%s\"", DisplayName.c_str());
    }
    if (XkbGetNames(InputDisplay, XkbKeyNamesMask, keyboard) == Success && keyboard->names) {
        for (int code = keyboard->min_key_code; code <= keyboard->max_key_code; ++code) {
            const char* name = keyboard->names->keys[code].name;
            for (const KeyPlace& place : KeyPlaces) {
                if (std::strncmp(name, place.name, XkbKeyNameLength) != 0) {
                    continue;
                }
                unsigned char* slot = KeyCodes[place.key];
                slot[slot[0] == 0 ? 0 : 1] = static_cast<unsigned char>(code);
            }
        }
    }
    XkbFreeKeyboard(keyboard, 0, True);
}

void ReadButtonMap() {
    ButtonMapSize = XGetPointerMapping(InputDisplay, ButtonMap, 256);
}

int LogicalButton(int physical) {
    return physical >= 1 && physical <= ButtonMapSize ? ButtonMap[physical - 1] : physical;
}

void SelectRawInput(Window root) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask = {XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(InputDisplay, root, &mask, 1);
}

void RequireExtensions() {
    int event = 0, error = 0;
    int major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(InputDisplay, nullptr, &XkbEventBase, &error, &major, &minor)) {
        Die("display \"%s\" has no XKB extension", DisplayName.c_str());
    }
    // 2.1 or later, or raw events stop while another client holds a grab.
    major = 2;
    minor = 2;
    if (!XQueryExtension(InputDisplay, "XInputExtension", &XInputOpcode, &event, &error) ||
        XIQueryVersion(InputDisplay, &major, &minor) != Success || (major == 2 && minor < 1)) {
        Die("display \"%s\" has no XInput 2.1 extension", DisplayName.c_str());
    }
}

void LatchPress(int evtype, int detail) {
    if (evtype == XI_RawButtonPress) {
        if (LogicalButton(detail) == Button1) {
            Latched[KeyLeftButton] = true;
        }
        return;
    }
    for (int key = 0; key < KeyCount; ++key) {
        for (unsigned char code : KeyCodes[key]) {
            if (code != 0 && code == detail) {
                Latched[key] = true;
            }
        }
    }
}

void HandleEvent(XEvent& event) {
    if (event.type == GenericEvent && event.xcookie.extension == XInputOpcode &&
        XGetEventData(InputDisplay, &event.xcookie)) {
        const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
        if (raw->evtype == XI_RawKeyPress || raw->evtype == XI_RawButtonPress) {
            LatchPress(raw->evtype, raw->detail);
        }
        ++InputEventsRead;
        XFreeEventData(InputDisplay, &event.xcookie);
    } else if (event.type == XkbEventBase) {
        FindKeyCodes();
    } else if (event.type == MappingNotify && event.xmapping.request == MappingPointer) {
        ReadButtonMap();
    }
}

// Handles events while Xlib has some: with QueuedAlready only those it has
// read, with QueuedAfterFlush also those waiting on the connection.
void HandleEvents(int mode) {
    while (XEventsQueued(InputDisplay, mode) > 0) {
        XEvent event;
        XNextEvent(InputDisplay, &event);
        HandleEvent(event);
    }
}

bool KeyCodeDown(const char keymap[32], unsigned char code) {
    return code != 0 && (keymap[code / 8] & (1 << (code % 8))) != 0;
}

bool KeyDown(int key) {
    if (key == KeyLeftButton) {
        Window root, child;
        int rootX, rootY, x, y;
        unsigned int buttons = 0;
        XQueryPointer(InputDisplay, DefaultRootWindow(InputDisplay), &root, &child, &rootX, &rootY,
                      &x, &y, &buttons);
        return (buttons & Button1Mask) != 0;
    }
    char keymap[32];
    XQueryKeymap(InputDisplay, keymap);
    for (unsigned char code : KeyCodes[key]) {
        if (KeyCodeDown(keymap, code)) {
            return true;
        }
    }
    return false;
}

// Xlib prints a server's reason for refusing on stderr, over several lines;
// it is caught here so the program can say it in its own one line.
Display* OpenDisplayQuietly(std::string* refusal) {
    int caught[2];
    const int savedStderr = dup(STDERR_FILENO);
    if (savedStderr < 0 || pipe2(caught, O_NONBLOCK | O_CLOEXEC) != 0) {
        return XOpenDisplay(nullptr);
    }
    dup2(caught[1], STDERR_FILENO);
    Display* display = XOpenDisplay(nullptr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    close(caught[1]);
    char text[512];
    const ssize_t length = read(caught[0], text, sizeof text - 1);
    close(caught[0]);
    for (ssize_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c == '\n' && !refusal->empty() && refusal->back() != ' ') {
            *refusal += ' ';
        } else if (c >= ' ') {
            *refusal += c;
        }
    }
    while (!refusal->empty() && refusal->back() == ' ') {
        refusal->pop_back();
    }
    return display;
}

}  // namespace

void OpenInputConnection() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        Die("cannot open a display: DISPLAY is not set");
    }
    DisplayName = display;
    std::string refusal;
    InputDisplay = OpenDisplayQuietly(&refusal);
    if (InputDisplay == nullptr) {
        Die("cannot open display \"%s\": %s", DisplayName.c_str(),
            refusal.empty() ? "no X server there accepts the connection" : refusal.c_str());
    }
    XSetIOErrorHandler(LostServer);
    RequireExtensions();
    SelectRawInput(DefaultRootWindow(InputDisplay));
    XkbSelectEvents(InputDisplay, XkbUseCoreKbd,
                    XkbNewKeyboardNotifyMask | XkbMapNotifyMask | XkbNamesNotifyMask,
                    XkbNewKeyboardNotifyMask | XkbMapNotifyMask | XkbNamesNotifyMask);
    FindKeyCodes();
    ReadButtonMap();
    XSync(InputDisplay, False);
}

void CloseInputConnection() {
    if (InputDisplay != nullptr) {
        XCloseDisplay(InputDisplay);
        InputDisplay = nullptr;
    }
}

int InputConnectionFd() {
    return ConnectionNumber(InputDisplay);
}

bool ServerHasExtension(const char* name) {
    int opcode, event, error;
    return XQueryExtension(InputDisplay, name, &opcode, &event, &error);
}

void DrainInputEvents() {
    HandleEvents(QueuedAfterFlush);
}

bool KeyActive(int key) {
    if (key < 0 || key >= KeyCount) {
        return false;
    }
    DrainInputEvents();
    const bool down = KeyDown(key);
    // Events Xlib queued while waiting for the state's reply happened before
    // it: a press among them is already counted by the state, or, if the key
    // is up again, still counts through the latch. Either way it must not
    // stay latched for the next test.
    HandleEvents(QueuedAlready);
    const bool active = down || Latched[key];
    Latched[key] = false;
    return active;
}
