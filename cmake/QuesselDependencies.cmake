# Finds the system libraries the modules build on; each becomes an imported target.
find_package(PkgConfig REQUIRED)

# The YAML layer: libyaml's event parser, GLib for its small utilities, ICU for normalisation
# and grapheme clusters.
pkg_check_modules(LIBYAML REQUIRED IMPORTED_TARGET yaml-0.1)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
find_package(ICU 70 REQUIRED COMPONENTS uc)

# The web engine (GTK 4 flavour). Page generation does not link it; the tests that run pages in
# the real engine, and the web view host, do.
pkg_check_modules(WEBKIT REQUIRED IMPORTED_TARGET webkitgtk-6.0)

# The shared viewer library's logic (document model, settings store, notification centre): GLib's
# C++ bindings and GIO for file monitoring, with sigc++ signals for observers. No GTK.
pkg_check_modules(GIOMM REQUIRED IMPORTED_TARGET giomm-2.68)

if(QUESSEL_BUILD_TESTS)
    # GIO's subprocesses run the command-line tool with piped input and output.
    pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()
if(QUESSEL_BUILD_BENCHMARKS)
    find_package(benchmark REQUIRED)
endif()

# The window: GTK 4 through gtkmm, libadwaita for toasts and the light/dark appearance (the web
# engine is found above).
pkg_check_modules(GTKMM REQUIRED IMPORTED_TARGET gtkmm-4.0)
pkg_check_modules(ADWAITA REQUIRED IMPORTED_TARGET libadwaita-1)
