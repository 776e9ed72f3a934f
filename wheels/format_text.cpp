#include "wheels/format_text.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr int bufferCount = 10;
constexpr int bufferSize = 4096;
char buffers[bufferCount][bufferSize];
int nextBuffer = 0;

} // namespace

const char* formatText(const char* format, ...) {
    char* buffer = buffers[nextBuffer];
    nextBuffer = (nextBuffer + 1) % bufferCount;
    va_list values;
    va_start(values, format);
    std::vsnprintf(buffer, bufferSize, format, values);
    va_end(values);
    return buffer;
}
