#pragma once

#include <QLatin1StringView>

// The author's contact details, shown by the home-page label, the About box and the contact
// message. Both lie under the domain reserved for examples, so no real person or site is named.
namespace author {

inline constexpr QLatin1StringView ContactEmail{"velkar@example.com"};
inline constexpr QLatin1StringView HomePageHost{"velkar.example.com"};

} // namespace author
