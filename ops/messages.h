#pragma once

#include <QLatin1StringView>

// The short messages that the operations write into the output box.
namespace ops::message {

inline constexpr QLatin1StringView EnterTheValues{ "Enter The Values !" };
inline constexpr QLatin1StringView InvalidOperation{ "Invalid Operation !" };
inline constexpr QLatin1StringView Infinity{ "Infinity" };
inline constexpr QLatin1StringView Overflow{ "OVERFLOW" };
inline constexpr QLatin1StringView TheyAreEqual{ "They Are Equal !" };

} // namespace ops::message
