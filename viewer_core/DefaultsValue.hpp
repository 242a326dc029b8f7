// The typed values of the user-defaults store: their text form in the file and their readings.
#pragma once

#include <glibmm/variant.h>

#include <optional>
#include <string>

namespace quessel::core {

// GVariant text with type annotations where the text alone would be ambiguous ("@aay []").
std::string printValue(const Glib::VariantBase& value);
// The value a stored text stands for. A text that is not GVariant text is taken as a string,
// so that a hand-edited line such as `sharedFontFamily=Fira Code` means what it says.
Glib::VariantBase parseValue(const std::string& text);

// The text of a string value; nothing for any other kind.
std::optional<std::string> stringReading(const Glib::VariantBase& value);
// Any number as a double, a boolean as 1 or 0, a string that is wholly a number as that
// number; 0 for anything else.
double doubleReading(const Glib::VariantBase& value);
// A boolean as itself, a number as whether it is non-zero, the strings "true" and "yes" (in any
// case) as true and a numeric string as whether it is non-zero; false for anything else.
bool boolReading(const Glib::VariantBase& value);

} // namespace quessel::core
