#include "host/error_box.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

namespace {
char errorTextBuffer[1024];
} // namespace

const char* formatError(const char* format, ...) {
    va_list values;
    va_start(values, format);
    std::vsnprintf(errorTextBuffer, sizeof errorTextBuffer, format, values);
    va_end(values);
    return errorTextBuffer;
}

void showErrorBox(const char* text) {
    MessageBoxA(GetActiveWindow(), text, "tarvel_moravik", MB_ICONERROR);
}
