// The typed values of the user-defaults store: their text form in the file and their readings.
#include "viewer_core/DefaultsValue.hpp"

#include "viewer_core/GLibHandles.hpp"

#include <cerrno>

namespace quessel::core {
namespace {

std::optional<double> numberOf(GVariant* value) {
    switch (g_variant_classify(value)) {
    case G_VARIANT_CLASS_DOUBLE:
        return g_variant_get_double(value);
    case G_VARIANT_CLASS_BYTE:
        return g_variant_get_byte(value);
    case G_VARIANT_CLASS_INT16:
        return g_variant_get_int16(value);
    case G_VARIANT_CLASS_UINT16:
        return g_variant_get_uint16(value);
    case G_VARIANT_CLASS_INT32:
        return g_variant_get_int32(value);
    case G_VARIANT_CLASS_UINT32:
        return g_variant_get_uint32(value);
    case G_VARIANT_CLASS_INT64:
        return static_cast<double>(g_variant_get_int64(value));
    case G_VARIANT_CLASS_UINT64:
        return static_cast<double>(g_variant_get_uint64(value));
    case G_VARIANT_CLASS_BOOLEAN:
        return g_variant_get_boolean(value) ? 1.0 : 0.0;
    default:
        return std::nullopt;
    }
}

std::optional<double> numberOfText(const char* text) {
    char* end = nullptr;
    errno = 0;
    const double number = g_ascii_strtod(text, &end);
    if (end == text || *end != '\0' || errno == ERANGE) {
        return std::nullopt;
    }
    return number;
}

} // namespace

std::string printValue(const Glib::VariantBase& value) {
    const GCharPtr text(g_variant_print(const_cast<GVariant*>(value.gobj()), TRUE));
    return text.get();
}

Glib::VariantBase parseValue(const std::string& text) {
    GError* raw = nullptr;
    GVariant* parsed = g_variant_parse(nullptr, text.c_str(), nullptr, nullptr, &raw);
    const GErrorPtr error(raw);
    if (parsed == nullptr) {
        parsed =
            g_variant_new_string(g_utf8_validate(text.c_str(), -1, nullptr) ? text.c_str() : "");
    }
    return Glib::VariantBase(parsed);
}

std::optional<std::string> stringReading(const Glib::VariantBase& value) {
    if (!value ||
        !g_variant_is_of_type(const_cast<GVariant*>(value.gobj()), G_VARIANT_TYPE_STRING)) {
        return std::nullopt;
    }
    return std::string(g_variant_get_string(const_cast<GVariant*>(value.gobj()), nullptr));
}

double doubleReading(const Glib::VariantBase& value) {
    if (!value) {
        return 0;
    }
    if (const auto text = stringReading(value)) {
        return numberOfText(text->c_str()).value_or(0);
    }
    return numberOf(const_cast<GVariant*>(value.gobj())).value_or(0);
}

bool boolReading(const Glib::VariantBase& value) {
    if (!value) {
        return false;
    }
    if (const auto text = stringReading(value)) {
        if (g_ascii_strcasecmp(text->c_str(), "true") == 0 ||
            g_ascii_strcasecmp(text->c_str(), "yes") == 0) {
            return true;
        }
        const auto number = numberOfText(text->c_str());
        return number && *number != 0;
    }
    const auto number = numberOf(const_cast<GVariant*>(value.gobj()));
    return number && *number != 0;
}

} // namespace quessel::core
