#pragma once

#include "runtime/runtimeerror.h"
#include "runtime/services.h"

#include <QLatin1StringView>

#include <utility>

namespace runtime {

// The title of the box of an untrapped error, which the refusal of a second copy shares.
inline constexpr QLatin1StringView ErrorBoxTitle{ "Error !" };

// "Run-time error 'N':", a blank line, then the error's text.
QString untrappedErrorPrompt(const RuntimeError &error);

// Shows an error that no handler trapped, in a stop box titled ErrorBoxTitle.
void presentUntrappedError(RuntimeServices &services, const RuntimeError &error);

// Every event handler runs inside this. An untrapped runtime error ends the handler at the
// failing step, keeping what it already wrote, and is shown to the user; the program goes on,
// so a typing mistake never costs the user the window.
template <typename Handler>
void invokeHandler(RuntimeServices &services, Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const RuntimeError &error) {
        presentUntrappedError(services, error);
    }
}

} // namespace runtime
