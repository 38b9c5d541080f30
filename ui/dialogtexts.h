#pragma once

#include "runtime/errorpresentation.h"

#include <QLatin1StringView>
#include <QString>

// The texts of the program's message boxes. Lines are joined with "\r\n", with no break after
// the last; blanks at either end of a line belong to it.
namespace dialogtext {

inline constexpr QLatin1StringView HelpTitle{ "HELP !" };
inline constexpr QLatin1StringView AboutTitle{ "ABOUT !" };
// The box shown when the window is closed from outside, and the one shown after the program's
// own Exit.
inline constexpr QLatin1StringView ClosedContactTitle{ "CONTACT !" };
inline constexpr QLatin1StringView ExitContactTitle{ "Contact !" };
inline constexpr QLatin1StringView AlreadyRunning{ "Application is Already Running !" };
inline constexpr QLatin1StringView AlreadyRunningTitle = runtime::ErrorBoxTitle;

QString helpPrompt();
QString aboutPrompt();

enum class HostEnd { Bare, Slash };
// The author's contact message; only the Exit menu's ends the home-page line with "/".
QString contactPrompt(HostEnd hostEnd);

} // namespace dialogtext
