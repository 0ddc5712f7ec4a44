#pragma once
// Runs a function when a scope ends, whichever way it ends (restoring settings, fields and
// the program text after a run or a rewrite). While an error is already on its way up, a
// second one from the function is dropped: the first is the one to show.
#include <exception>

template <typename Fn>
struct OnExit {
    Fn fn;
    int pending = std::uncaught_exceptions();
    ~OnExit() noexcept(false) {
        if (std::uncaught_exceptions() == pending) {
            fn();
            return;
        }
        try {
            fn();
        } catch (...) {
        }
    }
};
template <typename Fn>
OnExit(Fn) -> OnExit<Fn>;
