// Holds a file open without sharing it, as another program may, until its input ends.
//   hold_file FILE
// prints "held" once it holds the file.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>

int main() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count != 2) return 2;
    const HANDLE file = CreateFileW(args[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    CloseHandle(file);
    return 0;
}
