// TrGuard.h - the one way the library keeps C++ exceptions inside itself.
//
// Every export and exported member with a result whose work may allocate,
// and every window or dialog procedure, runs its body through Guarded: what
// the C++ runtime may throw (std::bad_alloc when memory runs out,
// std::length_error) becomes the caller's failure result and never unwinds
// into the host or through the system's window-procedure frames. Code inside
// the library throws nothing of its own.
#ifndef TR_BASE_GUARD_H
#define TR_BASE_GUARD_H

#include <exception>
#include <utility>

namespace tr {

// The body's result, or onFailure's when the body threw. onFailure must not
// throw; it may undo or record what the body left half done.
template <class Body, class OnFailure>
auto GuardedElse(Body&& body, OnFailure&& onFailure) noexcept -> decltype(body()) {
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception&) {
        return std::forward<OnFailure>(onFailure)();
    }
}

// The body's result, or 'failure' when the body threw.
template <class Result, class Body>
Result Guarded(Result failure, Body&& body) noexcept {
    return GuardedElse(std::forward<Body>(body), [&]() -> Result { return failure; });
}

// Runs an action when its scope is left, by return or by exception: for
// what must happen either way, such as giving back memory a caller handed
// over with the call.
template <class Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : m_action(std::move(action)) {}
    ~ScopeExit() { m_action(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action m_action;
};

}  // namespace tr

#endif  // TR_BASE_GUARD_H
