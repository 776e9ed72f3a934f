#include "tools/preview/files/read_while_replaced.h"

#include "tools/preview/files/whole_files.h"

#include <windows.h>

#include <algorithm>

namespace preview {

bool readWhileReplaced(const std::string& path, std::string& bytes, size_t limit) {
    bytes.clear();
    const HANDLE file = CreateFileW(pathOf(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char block[1 << 16];
    DWORD got = 0;
    bool read = true;
    while (bytes.size() < limit &&
           (read = ReadFile(file, block, DWORD(std::min(sizeof block, limit - bytes.size())), &got,
                            nullptr)) &&
           got > 0)
        bytes.append(block, got);
    CloseHandle(file);
    return read;
}

} // namespace preview
