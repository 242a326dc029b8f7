// A second process of the viewer family for the tests: writes values into a user-defaults store.
//   quessel_defaults_writer STORE KEY=VALUE...        VALUE is GVariant text; "-KEY" removes KEY
//   quessel_defaults_writer STORE --numbered PREFIX COUNT
// STORE is a suite name, or "standard". Exits 2 when the store is unavailable.
#include "viewer_core/DefaultsValue.hpp"
#include "viewer_core/UserDefaults.hpp"

#include <glib.h>

#include <cstdlib>
#include <string>

namespace {

using quessel::core::UserDefaults;

void writeNumbered(UserDefaults& store, const std::string& prefix, int count) {
    for (int index = 0; index < count; ++index) {
        store.set(prefix + std::to_string(index), Glib::VariantBase(g_variant_new_int32(index)));
    }
}

void writeAssignment(UserDefaults& store, const std::string& argument) {
    if (argument.starts_with('-')) {
        store.remove(argument.substr(1));
        return;
    }
    const auto equals = argument.find('=');
    store.set(argument.substr(0, equals), quessel::core::parseValue(argument.substr(equals + 1)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return 1;
    }
    const std::string name = argv[1];
    const auto store = name == "standard" ? UserDefaults::standard() : UserDefaults::suite(name);
    if (!store) {
        return 2;
    }
    if (argc == 5 && std::string(argv[2]) == "--numbered") {
        writeNumbered(*store, argv[3], std::atoi(argv[4]));
        return 0;
    }
    for (int index = 2; index < argc; ++index) {
        writeAssignment(*store, argv[index]);
    }
    return 0;
}
