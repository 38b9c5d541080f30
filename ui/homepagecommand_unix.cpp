#include "ui/author.h"

// The desktop's opener hands the address to the user's browser.
const QLatin1StringView author::HomePageCommand{ "xdg-open " TALLYVEX_HOME_PAGE_ADDRESS };
