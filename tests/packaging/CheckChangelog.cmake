# Writes the changelog of a metainfo file and compares it with the one expected; Debian's own
# parser must read every entry of it.
#   cmake -DSOURCE_DIR=<source> -DOUTPUT=<file> [-DPARSER=<dpkg-parsechangelog>] -P CheckChangelog.cmake
cmake_policy(SET CMP0007 NEW)
include("${SOURCE_DIR}/packaging/DebianChangelog.cmake")
set(here "${SOURCE_DIR}/tests/packaging")
quessel_debian_changelog(METAINFO "${here}/releases.metainfo.xml" OUTPUT "${OUTPUT}"
                         PACKAGE quessel MAINTAINER "Someone <someone@example.org>")
file(READ "${OUTPUT}" written)
file(READ "${here}/releases.changelog" expected)
if(NOT written STREQUAL expected)
    message(FATAL_ERROR "the changelog differs from releases.changelog:\n${written}")
endif()
execute_process(COMMAND "${PARSER}" --file "${OUTPUT}" --format rfc822 --all
                RESULT_VARIABLE result OUTPUT_VARIABLE entries ERROR_VARIABLE problems)
string(REGEX MATCHALL "\nVersion: [^\n]*" versions "\n${entries}")
string(REPLACE "\nVersion: " " " versions "${versions}")
string(REPLACE ";" "" versions "${versions}")
if(NOT result EQUAL 0 OR NOT problems STREQUAL "" OR NOT versions STREQUAL " 1.2.0 1.1.0 1.0.0")
    message(FATAL_ERROR "dpkg-parsechangelog (${result}) read '${versions}': ${problems}")
endif()
