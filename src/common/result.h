#pragma once
// A value or the reason there is none. Core functions return this instead of
// ending the process or showing anything; the caller turns a failure into the
// message the user sees.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

struct Failure {
    int code = -1;          // caller-defined kind; negative by convention
    std::string message;    // what went wrong, in words a user can read
};

template <class T>
class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { assert(ok()); return std::get<0>(state_); }
    const T& value() const& { assert(ok()); return std::get<0>(state_); }
    T&& value() && { assert(ok()); return std::get<0>(std::move(state_)); }
    const Failure& failure() const { assert(!ok()); return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};
