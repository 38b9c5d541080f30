#include "ui/author.h"

// The shell opens an address itself, in the user's default browser.
const QLatin1StringView author::HomePageCommand{ TALLYVEX_HOME_PAGE_ADDRESS };
