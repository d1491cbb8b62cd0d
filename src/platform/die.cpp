#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

void Die(const char* format, ...) {
    std::fputs("tftpattern: ", stderr);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
    std::exit(1);
}
