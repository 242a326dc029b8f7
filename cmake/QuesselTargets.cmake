# Shared build settings for Quessel's own targets, and the helper that registers a test program.

# Warnings apply to our code only: system headers come in through imported targets, which CMake
# treats as system include directories.
add_library(quessel_warnings INTERFACE)
target_compile_options(quessel_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
    $<$<BOOL:${QUESSEL_WERROR}>:-Werror>)
add_library(quessel::warnings ALIAS quessel_warnings)

# The real-world corpus ships compressed; unpack it once into the build tree for the tests and
# benchmarks that read it.
set(QUESSEL_CORPUS_DIR "${PROJECT_BINARY_DIR}/test-data/yaml-corpus")
set(corpus_archive "${PROJECT_SOURCE_DIR}/tests/data/yaml-corpus.tar.xz")
if(NOT EXISTS "${QUESSEL_CORPUS_DIR}/MANIFEST.tsv"
   OR "${corpus_archive}" IS_NEWER_THAN "${QUESSEL_CORPUS_DIR}/MANIFEST.tsv")
    file(REMOVE_RECURSE "${QUESSEL_CORPUS_DIR}")
    file(ARCHIVE_EXTRACT INPUT "${corpus_archive}" DESTINATION "${PROJECT_BINARY_DIR}/test-data")
endif()

# quessel_add_test(NAME <exe> LABEL <label> SOURCES <files...> LIBRARIES <targets...>
#                  [DISPLAY] [ENVIRONMENT <VAR=value...>])
# Builds one GoogleTest program and registers each of its tests with CTest. DISPLAY marks tests
# that need an X display and a session bus: they get the settings that keep GTK and the web
# engine working under Xvfb in a container.
function(quessel_add_test)
    cmake_parse_arguments(T "DISPLAY" "NAME;LABEL" "SOURCES;LIBRARIES;ENVIRONMENT" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBRARIES} GTest::gtest GTest::gmock
                          quessel::warnings)
    set(environment ${T_ENVIRONMENT}
        "QUESSEL_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
        "QUESSEL_TEST_SUITE_DIR=${PROJECT_SOURCE_DIR}/tests/data/yaml-test-suite"
        "QUESSEL_CORPUS_DIR=${QUESSEL_CORPUS_DIR}")
    if(T_DISPLAY)
        list(APPEND environment
            "GSK_RENDERER=cairo"
            "GTK_A11Y=none"
            "GDK_BACKEND=x11"
            "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1"
            "WEBKIT_DISABLE_COMPOSITING_MODE=1"
            "LIBGL_ALWAYS_SOFTWARE=1")
        target_link_libraries(${T_NAME} PRIVATE GTest::gtest)
    else()
        target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
    endif()
    gtest_discover_tests(${T_NAME}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${T_LABEL} TIMEOUT 300)
    # The discovery step flattens its PROPERTIES into one list, which would keep only the first
    # variable of ENVIRONMENT: set the environment from a file CTest reads after the discovered
    # tests (their names are in ${T_NAME}_TESTS by then).
    set(environment_file "${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_environment.cmake")
    file(WRITE "${environment_file}"
        "set_tests_properties(\${${T_NAME}_TESTS} PROPERTIES ENVIRONMENT [==[${environment}]==])\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${environment_file}")
endfunction()
