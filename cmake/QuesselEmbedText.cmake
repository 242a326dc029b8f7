# quessel_embed_text(TARGET <target> FILE <file> NAME <qualified name> HEADER <include>)
# Compiles a text resource (the page script, the style sheet) into <target> as a
# `const std::string_view` named <qualified name> (for example `quessel::app::pageScript`),
# declared in <include>. The resource stays a real file that can be read, linted and diffed; the
# bytes are copied exactly at build time, so no delimiter or escaping can go wrong.
set(QUESSEL_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/EmbedTextFile.cmake")

function(quessel_embed_text)
    cmake_parse_arguments(E "" "TARGET;FILE;NAME;HEADER" "" ${ARGN})
    foreach(required TARGET FILE NAME HEADER)
        if(NOT E_${required})
            message(FATAL_ERROR "quessel_embed_text: ${required} is missing")
        endif()
    endforeach()
    get_filename_component(input "${E_FILE}" ABSOLUTE)
    get_filename_component(stem "${input}" NAME)
    string(MAKE_C_IDENTIFIER "${stem}" stem)
    set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded/${stem}.cpp")
    file(RELATIVE_PATH shown "${PROJECT_SOURCE_DIR}" "${input}")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" "-DINPUT=${input}" "-DOUTPUT=${output}" "-DNAME=${E_NAME}"
                "-DHEADER=${E_HEADER}" "-DSHOWN=${shown}" -P "${QUESSEL_EMBED_SCRIPT}"
        DEPENDS "${input}" "${QUESSEL_EMBED_SCRIPT}"
        COMMENT "Embedding ${shown}"
        VERBATIM)
    target_sources(${E_TARGET} PRIVATE "${output}")
endfunction()
