#pragma once

#include "runtime/runtimeerror.h"

#include <optional>
#include <utility>

// The runtime error number that the call raised, or nothing when it returned normally.
template <typename Call>
std::optional<int> raisedErrorNumber(Call &&call)
{
    try {
        std::forward<Call>(call)();
    } catch (const runtime::RuntimeError &error) {
        return error.number();
    }
    return std::nullopt;
}
