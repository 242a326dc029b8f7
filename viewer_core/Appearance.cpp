// The light/dark choice of the shared settings, its stored text and the colour scheme it asks for.
#include "viewer_core/Appearance.hpp"

namespace quessel::core {

std::string_view rawValue(Appearance appearance) noexcept {
    switch (appearance) {
    case Appearance::light:
        return "light";
    case Appearance::dark:
        return "dark";
    case Appearance::system:
        break;
    }
    return "system";
}

std::optional<Appearance> appearanceFromRawValue(std::string_view text) noexcept {
    for (const Appearance appearance : allAppearances) {
        if (rawValue(appearance) == text) {
            return appearance;
        }
    }
    return std::nullopt;
}

std::optional<ColorScheme> colorScheme(Appearance appearance) noexcept {
    switch (appearance) {
    case Appearance::light:
        return ColorScheme::light;
    case Appearance::dark:
        return ColorScheme::dark;
    case Appearance::system:
        break;
    }
    return std::nullopt;
}

} // namespace quessel::core
