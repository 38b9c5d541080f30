#pragma once

#include <QLatin1StringView>

// The author's contact details, shown by the home-page label, the About box and the contact
// message; the build sets them, for the desktop metadata and the version record carry them too.
// All lie under the domains reserved for examples, so no real person or site is named.
namespace author {

inline constexpr QLatin1StringView ContactEmail{ TALLYVEX_CONTACT_EMAIL };
inline constexpr QLatin1StringView HomePageHost{ TALLYVEX_HOME_PAGE_HOST };

// What a click on the home-page label starts: the desktop's way to open the page, which lies on
// a host of its own. One fixed command line per platform (homepagecommand_*.cpp).
extern const QLatin1StringView HomePageCommand;

} // namespace author
