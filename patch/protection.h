#pragma once
#include <cstddef>
#include <cstdint>

namespace patch {

// Opens a range of game code for reading and writing, and puts its protection back on exit.
// A failed opening is not reported: the access is made anyway and nothing is put back.
class ProtectionWindow {
  public:
    ProtectionWindow(uint32_t address, size_t size);
    ~ProtectionWindow();
    ProtectionWindow(const ProtectionWindow&) = delete;
    ProtectionWindow& operator=(const ProtectionWindow&) = delete;

  private:
    uint32_t address_;
    size_t size_;
    unsigned long previous_ = 0;
    bool opened_ = false;
};

} // namespace patch
