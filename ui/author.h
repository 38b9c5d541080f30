#pragma once

#include <QLatin1StringView>

// The author's contact details, shown by the home-page label, the About box and the contact
// message; the build sets them, for the desktop metadata and the version record carry them too.
// All lie under the domains reserved for examples, so no real person or site is named.
namespace author {

inline constexpr QLatin1StringView ContactEmail{TALLYVEX_CONTACT_EMAIL};
inline constexpr QLatin1StringView HomePageHost{TALLYVEX_HOME_PAGE_HOST};

// What a click on the home-page label starts: the desktop's opener with the page, which lies on
// a host of its own. One fixed command line per platform.
#ifdef Q_OS_WIN
inline constexpr QLatin1StringView HomePageCommand{
    "explorer.exe http://www.example.org/kelmora/front.htm"};
#else
inline constexpr QLatin1StringView HomePageCommand{
    "xdg-open http://www.example.org/kelmora/front.htm"};
#endif

} // namespace author
