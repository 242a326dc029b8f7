# Finds the system libraries the modules build on; each becomes an imported target.
find_package(PkgConfig REQUIRED)

# The YAML layer: libyaml's event parser, GLib for its small utilities, ICU for normalisation
# and grapheme clusters.
pkg_check_modules(LIBYAML REQUIRED IMPORTED_TARGET yaml-0.1)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
find_package(ICU 70 REQUIRED COMPONENTS uc)

# The application shell: gtkmm for the widgets and the application object, libadwaita for the
# platform look, the style manager, the About window and message dialogs.
pkg_check_modules(GTKMM REQUIRED IMPORTED_TARGET gtkmm-4.0)
pkg_check_modules(ADWAITA REQUIRED IMPORTED_TARGET libadwaita-1)

if(QUESSEL_BUILD_TESTS)
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()
if(QUESSEL_BUILD_BENCHMARKS)
    find_package(benchmark REQUIRED)
endif()
