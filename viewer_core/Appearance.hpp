// The light/dark choice of the shared settings, its stored text and the colour scheme it asks for.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quessel::core {

enum class Appearance { system, light, dark };

// The colour scheme a window is asked to use; no scheme means following the desktop.
enum class ColorScheme { light, dark };

// In declaration order.
inline constexpr std::array<Appearance, 3> allAppearances{Appearance::system, Appearance::light,
                                                          Appearance::dark};

// "system", "light" or "dark": the text stored under "sharedAppearance".
std::string_view rawValue(Appearance appearance) noexcept;
// Exactly one of the three raw values (case-sensitive); nothing for any other text.
std::optional<Appearance> appearanceFromRawValue(std::string_view text) noexcept;
// Light and dark force their scheme; system asks for none.
std::optional<ColorScheme> colorScheme(Appearance appearance) noexcept;

} // namespace quessel::core
