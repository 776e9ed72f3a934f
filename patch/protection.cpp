#include "patch/protection.h"

#include <windows.h>

namespace patch {

ProtectionWindow::ProtectionWindow(uint32_t address, size_t size) : address_(address), size_(size) {
    DWORD previous = 0;
    opened_ = VirtualProtect(reinterpret_cast<void*>(address_), size_, PAGE_EXECUTE_READWRITE,
                             &previous) != 0;
    previous_ = previous;
}

ProtectionWindow::~ProtectionWindow() {
    if (!opened_) return;
    DWORD discarded = 0;
    VirtualProtect(reinterpret_cast<void*>(address_), size_, previous_, &discarded);
}

} // namespace patch
