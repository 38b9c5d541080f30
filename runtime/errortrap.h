#pragma once

#include "runtime/runtimeerror.h"

#include <utility>

namespace runtime {

// An error trap over a handler's trapped steps: runs them and returns the number of the runtime
// error that ended them, or 0 when they ran to the end. The handler's closing check reads it.
template <typename Steps>
[[nodiscard]] int trapErrors(Steps &&steps)
{
    try {
        std::forward<Steps>(steps)();
    } catch (const RuntimeError &error) {
        return error.number();
    }
    return 0;
}

} // namespace runtime
