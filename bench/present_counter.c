/* Preloaded into the program by frame_rate: counts the frames it presents and
 * notes when the first, the second and the last came. Writes one line
 * "presents N first_ms F second_ms S last_ms L" to $PRESENT_COUNTER_OUT at
 * exit, times counted from $PRESENT_COUNTER_T0 (CLOCK_MONOTONIC, ns). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long Presents;
static double First, Second, Last;

static double NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* t0 = getenv("PRESENT_COUNTER_T0");
    const double start = t0 ? atof(t0) / 1e6 : 0;
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6 - start;
}

static void Count(void) {
    Last = NowMs();
    if (++Presents == 1)
        First = Last;
    if (Presents == 2)
        Second = Last;
}

int SDL_UpdateWindowSurface(void* window) {
    static int (*real)(void*);
    if (!real)
        real = (int (*)(void*))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
    const int result = real(window);
    Count();
    return result;
}

void SDL_RenderPresent(void* renderer) {
    static void (*real)(void*);
    if (!real)
        real = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    real(renderer);
    Count();
}

__attribute__((destructor)) static void Report(void) {
    const char* path = getenv("PRESENT_COUNTER_OUT");
    FILE* out = path ? fopen(path, "w") : NULL;
    if (!out)
        return;
    fprintf(out, "presents %ld first_ms %.1f second_ms %.1f last_ms %.1f\n", Presents, First,
            Second, Last);
    fclose(out);
}
