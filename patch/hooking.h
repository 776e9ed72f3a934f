#pragma once
// Call-site hooks: a CALL in game code diverted into a chain of the plug-in's callbacks, each of
// which decides whether, when and how often the rest of the chain and the game function run.
#include "patch/branch.h"
#include "patch/scoped.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace patch {

// Runs the rest of a chain, down to the game function the site called before.
using NextStep = std::function<void*()>;
using HookCallback = std::function<void*(NextStep)>;

// The one owner of a site's saved bytes and of its chain; shared by every hook of the site.
template <class Patch, class Hooker, class Result> class function_hooker_manager : public Patch {
    // Chains hand the game's 32-bit EAX value around as a pointer.
    static_assert(std::is_same_v<Result, void*>);

  public:
    static std::shared_ptr<function_hooker_manager> shared_instance() {
        static const std::shared_ptr<function_hooker_manager> instance =
            std::make_shared<function_hooker_manager>();
        return instance;
    }

    void add_entry(const Hooker* owner, HookCallback callback) {
        const auto existing = position(owner);
        if (existing != entries_.end())
            existing->callback = std::move(callback);
        else
            entries_.push_back({owner, std::move(callback)});
    }

    // The site stays diverted even while the chain is empty for a moment.
    void move_entry(const Hooker* from, const Hooker* to) {
        const auto found = position(from);
        if (found == entries_.end()) return;
        HookCallback callback = std::move(found->callback);
        entries_.erase(found);
        add_entry(to, std::move(callback));
    }

    bool remove_entry(const Hooker* owner) {
        const auto found = position(owner);
        if (found == entries_.end()) return false;
        entries_.erase(found);
        return true;
    }

    // Only a CALL is taken over: anything else at the site, a JMP included (another program's,
    // whose way back is not known), is left exactly as it is, and the chain never runs.
    void redirect(uint32_t site) {
        if (installed_) return;
        found_ = site_code(site);
        const size_t size = call_size(site);
        if (size == 0) return;
        this->save_bytes(site, size, true);
        // A call through a pointer goes wherever the pointer leads at the time of each call.
        route_.pointer = found_ == SiteCode::CallThroughPointer ? peek_u32(site + 2) : 0;
        route_.target = redirect_call(site, code_address(&run_chain));
        this->keep_branch();
        installed_ = true;
    }

    void restore_bytes() override {
        if (!installed_) return;
        installed_ = false;
        entries_.clear();
        Patch::restore_bytes();
    }

    // The diverted CALL lands here, with the game's return address on the stack, in the
    // platform's C calling convention. Nothing thrown in the chain reaches the game: the game's
    // own call still runs and its result goes back.
    static Result run_chain() {
        // Bypassed, the plug-in may be unloaded and its objects gone: only plain data is read.
        if (chains_bypassed()) return GameCall{route_.destination()}();
        // Its other owners keep the manager alive; this reference is only a way in.
        const function_hooker_manager& self = *shared_instance();
        GameCall game{route_.destination()};
        try {
            return run_entries(self, game);
        } catch (...) {
            return game.ran ? game.result : game();
        }
    }

    bool installed() const { return installed_; }
    // What the site held when it was last looked at.
    SiteCode found() const { return found_; }
    // Where the game's call goes now.
    uint32_t previous_target() const { return route_.destination(); }
    size_t entry_count() const { return entries_.size(); }

  private:
    struct entry {
        const Hooker* owner;
        HookCallback callback;
    };

    typename std::vector<entry>::iterator position(const Hooker* owner) {
        auto found = entries_.begin();
        while (found != entries_.end() && found->owner != owner)
            ++found;
        return found;
    }

    // The game function behind the site; remembers whether it ran and what it gave.
    struct GameCall {
        uint32_t target;
        bool ran = false;
        Result result{};
        Result operator()() {
            ran = true;
            result = reinterpret_cast<typename Hooker::host_function>(target)();
            return result;
        }
    };

    static Result run_entries(const function_hooker_manager& self, GameCall& game) {
        if (self.entries_.empty()) return game();
        const NextStep innermost = [&game] { return game(); };
        if (self.entries_.size() == 1) {
            // A copy, so a callback that detaches itself does not destroy what is running.
            const HookCallback callback = self.entries_.front().callback;
            return callback(innermost);
        }
        NextStep current = innermost;
        for (const entry& link : self.entries_)
            current = [callback = link.callback, next = std::move(current)] {
                return callback(next);
            };
        return current();
    }

    // Where the site's call went before; for a call through a pointer, the pointer. Plain data
    // outside the manager, so that a bypassed chain still finds it after the manager is gone.
    struct call_route {
        uint32_t target = 0;
        uint32_t pointer = 0;
        uint32_t destination() const {
            return pointer != 0 ? *reinterpret_cast<const volatile uint32_t*>(pointer) : target;
        }
    };
    static inline call_route route_{};

    std::vector<entry> entries_;
    bool installed_ = false;
    SiteCode found_ = SiteCode::Other;
};

// A client's handle on one site's chain; it is known in the chain by its own address. Address
// names the site; the hook is attached where the site actually is.
template <class Patch, uint32_t Address, class HostFunction, class Result>
class function_hooker_base : public scoped_base {
  public:
    using host_function = HostFunction;
    using manager_type = function_hooker_manager<Patch, function_hooker_base, Result>;
    static constexpr uint32_t address = Address;

    function_hooker_base() : manager_(manager_type::shared_instance()) {}
    // The copy takes over the source's place in the chain, so a hook set up in a temporary can
    // live on in long-lived storage without the site ever being put back in between.
    function_hooker_base(const function_hooker_base& source)
        : scoped_base(source), installed_(source.installed_), manager_(source.manager_) {
        manager_->move_entry(&source, this);
    }
    function_hooker_base& operator=(const function_hooker_base&) = delete;
    ~function_hooker_base() override { detach(); }

    void restore_bytes() override { detach(); }
    virtual void attach(HookCallback callback, uint32_t site) = 0;
    void attach(HookCallback callback) { attach(std::move(callback), Address); }

    // Only the chain decides: the last entry out puts the game's CALL back.
    void detach() {
        installed_ = false;
        if (manager_->remove_entry(this) && manager_->entry_count() == 0) manager_->restore_bytes();
    }

    bool installed() const { return installed_; }
    manager_type& manager() const { return *manager_; }

  protected:
    bool installed_ = false;
    std::shared_ptr<manager_type> manager_;
};

template <class Patch, uint32_t Address, class Signature> class function_hooker;

// A site whose game function takes nothing and returns its value in EAX, in the platform's C
// calling convention.
template <class Patch, uint32_t Address, class Result>
class function_hooker<Patch, Address, Result()>
    : public function_hooker_base<Patch, Address, Result (*)(), Result> {
  public:
    using function_hooker_base<Patch, Address, Result (*)(), Result>::attach;
    void attach(HookCallback callback, uint32_t site) override {
        this->installed_ = true;
        this->manager_->add_entry(this, std::move(callback));
        this->manager_->redirect(site);
    }
};

template <uint32_t Address> using site_hook = function_hooker<scoped_call, Address, void*()>;

// Keeps a site's installed hooks alive until unload; created after the site's manager, so it is
// destroyed first and its hooks put the site back while the manager still exists.
template <uint32_t Address> std::list<site_hook<Address>>& site_hooks() {
    static std::list<site_hook<Address>> hooks;
    return hooks;
}

// Site: where the site named Address actually is.
template <uint32_t Address>
function_hooker<scoped_call, Address, void*()>& install_site_hook(uint32_t site,
                                                                  HookCallback callback) {
    site_hook<Address> temporary;
    temporary.attach(std::move(callback), site);
    return site_hooks<Address>().emplace_back(temporary);
}

} // namespace patch
