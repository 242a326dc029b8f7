# Formats a manual page as man would show it and fails on any warning groff gives:
#   cmake -DGROFF=<groff> -DPAGE=<page.1> -P CheckManualPage.cmake
execute_process(COMMAND "${GROFF}" -man -Tutf8 -P-cbou -K utf8 -ww -rLL=80n "${PAGE}"
                RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE warnings)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "groff on ${PAGE} (status ${result}):\n${warnings}")
endif()
# Every section the page opens must have been written: a lost request would leave its name as
# text or drop the section.
foreach(section NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT EXAMPLES "SEE ALSO")
    if(NOT text MATCHES "\n${section}\n")
        message(FATAL_ERROR "${PAGE} shows no ${section} section:\n${text}")
    endif()
endforeach()
