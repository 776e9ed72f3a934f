#pragma once
// Patches that remember the game bytes they replace, so the game's code can be put back.
#include "patch/diversions.h"
#include "patch/memory.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace patch {

// Lets owners of patches of different kinds put them back through one pointer. Every patch
// can tell whether it was rewritten since; only branches go on the list asked at unload.
class scoped_base : public diversion {
  public:
    virtual void restore_bytes() = 0;
    void put_back() override { restore_bytes(); }
};

// Up to N bytes of game code as they were before a patch.
template <size_t N> class scoped_basic : public scoped_base {
  public:
    static constexpr size_t bufsize = N;

    scoped_basic() = default;
    // Two owners of one saved site would both write it back.
    scoped_basic(const scoped_basic&) = delete;
    scoped_basic& operator=(const scoped_basic&) = delete;
    // Not through the virtual slot: derived parts are gone by now.
    ~scoped_basic() override { write_back(); }

    void restore_bytes() override { write_back(); }

    virtual void save_bytes(uint32_t address, size_t size, bool unprotect) {
        assert(size <= bufsize);
        // Derived patches undo their own state too before the site is taken again.
        restore_bytes();
        saved_ = true;
        address_ = address;
        unprotect_ = unprotect;
        size_ = static_cast<uint32_t>(size);
        peek_bytes(address, bytes_, size, unprotect);
    }

    bool saved() const { return saved_; }
    uint32_t address() const { return address_; }
    size_t size() const { return size_; }
    const uint8_t* saved_bytes() const { return bytes_; }

  protected:
    // The saved bytes are dropped unwritten.
    void forget() { saved_ = false; }

  private:
    void write_back() {
        if (!saved_) return;
        patch_bytes(address_, bytes_, size_, unprotect_);
        saved_ = false;
    }

    uint8_t bytes_[N] = {};
    uint32_t address_ = 0;
    uint32_t size_ = 0;
    bool saved_ = false;
    bool unprotect_ = false;
};

// Bytes written over game code. The saved bytes go back only while the code still holds the bytes
// this patch wrote: whatever has rewritten it since is left alone.
template <size_t N> class scoped_written : public scoped_basic<N> {
  public:
    ~scoped_written() override { forget_if_rewritten(); }

    void restore_bytes() override {
        forget_if_rewritten();
        scoped_basic<N>::restore_bytes();
    }

    // Takes what the code holds now as this patch's own bytes.
    void keep_written() { peek_bytes(this->address(), written_, this->size(), true); }

    bool rewritten() const override {
        if (!this->saved()) return false;
        uint8_t now[N] = {};
        peek_bytes(this->address(), now, this->size(), true);
        return std::memcmp(now, written_, this->size()) != 0;
    }

  private:
    void forget_if_rewritten() {
        if (rewritten()) this->forget();
    }

    uint8_t written_[N] = {};
};

// A branch into the plug-in: a CALL rel32 (with a NOP where it replaced a six-byte CALL) or a
// JMP rel32. While it is in game code it is on the list asked at unload.
class scoped_branch : public scoped_written<6> {
  public:
    ~scoped_branch() override { forget_diversion(this); }

    void restore_bytes() override {
        forget_diversion(this);
        scoped_written<6>::restore_bytes();
    }

  protected:
    // The branch is written: what the code holds now is ours.
    void keep_branch() {
        keep_written();
        remember_diversion(this);
    }
};

// The saved bytes of a CALL that has been redirected.
class scoped_call : public scoped_branch {};

// The saved bytes of a game routine whose start has been made a JMP to ours.
class scoped_jump : public scoped_branch {
  public:
    // Saves the routine's bytes the first time; writes the jump every time.
    void write(uint32_t address, uint32_t target);
};

} // namespace patch
