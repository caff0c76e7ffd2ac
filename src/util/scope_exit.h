#pragma once
// Runs a function when a scope ends, however it ends: for what a handler must
// undo (a busy pointer, a progress window) on every way out.
#include <utility>

namespace lorvane::util {

template <typename Fn>
class ScopeExit {
public:
    explicit ScopeExit(Fn fn) : fn_(std::move(fn)) {}
    ~ScopeExit() { fn_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Fn fn_;
};

}  // namespace lorvane::util
