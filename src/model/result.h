#pragma once
// The outcome of an operation that can fail, with the reason in words a user can read.

#include <string>
#include <utility>

namespace kq904 {

struct [[nodiscard]] Result {
    bool ok = true;
    std::string error; // empty when ok

    static Result success() { return {}; }
    static Result failure(std::string reason) { return {false, std::move(reason)}; }
    explicit operator bool() const { return ok; }
};

} // namespace kq904
