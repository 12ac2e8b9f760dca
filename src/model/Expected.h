#pragma once
// A value or the user's error message: what every reader of untrusted input returns.

#include <string>
#include <utility>
#include <variant>

namespace quilmo {

struct Error {
    std::string Message;  // the text shown to the user, UTF-8
};

template <class T>
class Expected {
public:
    Expected(T value) : v_(std::move(value)) {}
    Expected(Error error) : v_(std::move(error)) {}

    bool has_value() const { return v_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    T& value() & { return std::get<0>(v_); }
    const T& value() const& { return std::get<0>(v_); }
    T&& value() && { return std::get<0>(std::move(v_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const { return std::get<1>(v_); }

private:
    std::variant<T, Error> v_;
};

// For operations that return nothing but may fail.
struct Done {};
using Status = Expected<Done>;
inline Status Ok() { return Done{}; }

}  // namespace quilmo
