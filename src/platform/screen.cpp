// The full-screen window over SDL2, and drawing into its back buffer.
//
// Two ways of presenting, chosen once when the screen opens: with a GPU, an
// OpenGL renderer that waits for the vertical refresh; without one, SDL's
// window surface over X11 shared memory, which a software GL rasteriser
// would be several times slower than.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <strings.h>
#include <cstring>

#include "platform/back_buffer.h"
#include "platform/platform.h"
#include "platform/platform_internal.h"

unsigned long FramesShown = 0;

namespace {

SDL_Window* ScreenWindow = nullptr;
SDL_Renderer* Renderer = nullptr;  // the GPU path
SDL_Texture* Texture = nullptr;
SDL_Surface* Surface = nullptr;  // the shared-memory path
int FrameWidth = 0;
int FrameHeight = 0;
int ScreenFd = -1;  // SDL's own X connection

bool IsSoftwareRenderer(const char* name) {
    return name == nullptr || std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") ||
           std::strstr(name, "Software Rasterizer") || std::strstr(name, "swrast");
}

// Asks a throwaway OpenGL context which renderer the machine has.
bool HasHardwareOpenGL() {
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (probe == nullptr) {
        return false;
    }
    bool hardware = false;
    if (SDL_GLContext context = SDL_GL_CreateContext(probe)) {
        using GetString = const unsigned char* (*)(unsigned int);
        auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        constexpr unsigned int GlRenderer = 0x1F01;
        hardware = getString != nullptr &&
                   !IsSoftwareRenderer(reinterpret_cast<const char*>(getString(GlRenderer)));
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(probe);
    return hardware;
}

// Without direct rendering (DRI2, DRI3, or NVIDIA's own) every GL client
// of this server renders in software; asking costs one round trip, where
// loading a GL driver to ask it costs time and tens of megabytes.
bool ServerOffersDirectRendering() {
    return ServerHasExtension("DRI3") || ServerHasExtension("DRI2") || ServerHasExtension("NV-GLX");
}

// SDL's own framebuffer-acceleration hint, when the user set it, decides;
// otherwise the GL renderer is used only when it runs on a GPU.
bool UseGpuRenderer() {
    const char* hint = SDL_GetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    if (hint != nullptr && *hint != '\0') {
        return !(std::strcmp(hint, "0") == 0 || strcasecmp(hint, "false") == 0 ||
                 strcasecmp(hint, "software") == 0);
    }
    return ServerOffersDirectRendering() && HasHardwareOpenGL();
}

// The GPU path; false when the renderer or its texture cannot be made.
bool OpenRenderer(int width, int height) {
    Renderer =
        SDL_CreateRenderer(ScreenWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (Renderer != nullptr) {
        Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                    width, height);
    }
    if (Texture == nullptr) {
        if (Renderer != nullptr) {
            SDL_DestroyRenderer(Renderer);
        }
        Renderer = nullptr;
        return false;
    }
    SetPixelLayout(16, 8, 0);
    FrameWidth = width;
    FrameHeight = height;
    return true;
}

// The shared-memory path. SDL makes the window's surface anew when the
// window changes size, so it is asked for before every frame.
void AcquireSurface() {
    Surface = SDL_GetWindowSurface(ScreenWindow);
    if (Surface == nullptr) {
        Die("cannot get the window's surface: %s", SDL_GetError());
    }
    const SDL_PixelFormat* format = Surface->format;
    if (format->BytesPerPixel != 4 || format->Rloss != 0 || format->Gloss != 0 ||
        format->Bloss != 0) {
        Die("the display has no 8 bits a channel colour (%s)",
            SDL_GetPixelFormatName(format->format));
    }
    SetPixelLayout(format->Rshift, format->Gshift, format->Bshift);
    FrameWidth = Surface->w;
    FrameHeight = Surface->h;
}

}  // namespace

void InitDisplay() {
    WatchStopSignals();
    OpenInputConnection();
    // Signals are handled by the program, key state comes from X11, and the
    // window must stay up when another window takes the focus.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        Die("cannot start SDL video: %s", SDL_GetError());
    }
    if (SDL_GetNumVideoDisplays() < 1) {
        Die("the X server has no usable monitor");
    }
}

DesktopSize PrimaryDesktopSize() {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        Die("cannot read the primary monitor's mode: %s", SDL_GetError());
    }
    return {mode.w, mode.h};
}

// The frame is always 32 bits a pixel, 8 of them for each colour.
void OpenDisplay(int width, int height, int /*depth*/, const char* title) {
    const bool gpu = UseGpuRenderer();
    const int position = SDL_WINDOWPOS_UNDEFINED_DISPLAY(0);
    ScreenWindow = SDL_CreateWindow(title, position, position, width, height,
                                    SDL_WINDOW_FULLSCREEN_DESKTOP | (gpu ? SDL_WINDOW_OPENGL : 0));
    if (ScreenWindow == nullptr) {
        Die("cannot open a %dx%d full-screen window: %s", width, height, SDL_GetError());
    }
    SDL_ShowCursor(SDL_DISABLE);
    if (!gpu || !OpenRenderer(width, height)) {
        SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
        AcquireSurface();
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ScreenFd =
        SDL_GetWindowWMInfo(ScreenWindow, &info) ? ConnectionNumber(info.info.x11.display) : -1;
    BeginDrawing();
    FillBox(0, 0, FrameWidth, FrameHeight, 0);
    EndDrawing();
}

void CloseDisplay() {
    SDL_ShowCursor(SDL_ENABLE);
    if (Texture != nullptr) {
        SDL_DestroyTexture(Texture);
    }
    if (Renderer != nullptr) {
        SDL_DestroyRenderer(Renderer);
    }
    if (ScreenWindow != nullptr) {
        SDL_DestroyWindow(ScreenWindow);
    }
    Texture = nullptr;
    Renderer = nullptr;
    Surface = nullptr;
    ScreenWindow = nullptr;
    ScreenFd = -1;
}

void ReleasePlatform() {
    SDL_Quit();
    CloseInputConnection();
}

void BeginDrawing() {
    if (Texture != nullptr) {
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(Texture, nullptr, &pixels, &pitch) != 0) {
            Die("cannot draw into the texture: %s", SDL_GetError());
        }
        AttachBackBuffer(pixels, pitch, FrameWidth, FrameHeight);
    } else {
        AcquireSurface();
        SDL_LockSurface(Surface);
        AttachBackBuffer(Surface->pixels, Surface->pitch, FrameWidth, FrameHeight);
    }
}

void EndDrawing() {
    if (Texture != nullptr) {
        SDL_UnlockTexture(Texture);
    } else {
        SDL_UnlockSurface(Surface);
    }
    AttachBackBuffer(nullptr, 0, 0, 0);
}

void ShowFrame() {
    ServiceWindowEvents();
    if (Renderer != nullptr) {
        SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
        SDL_RenderPresent(Renderer);
    } else {
        SDL_UpdateWindowSurface(ScreenWindow);
    }
    ++FramesShown;
}

void ServiceWindowEvents() {
    // SDL answers pings while pumping; its queued events (a close request
    // among them) mean nothing to the program and are dropped.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

int ScreenConnectionFd() {
    return ScreenFd;
}
