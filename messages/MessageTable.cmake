# Message tables from message sources (*.en.msg and *.fr-CA.msg, format in
# compiler/MessageSource.h).

# rivode_add_message_table(<target> FUNCTION <qualified name> [FACILITIES <hex>...]
#                          SOURCES <file>...)
# Compiles the sources into a table that <target> builds in; the function
# `const YMessageTable& <qualified name>()` returns it. The build fails on a malformed source or
# when the languages do not hold the same ids. A host registers its table at start-up with
# rivode::RegisterHostMessageTable(&<qualified name>()).
function(rivode_add_message_table target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "FUNCTION" "FACILITIES;SOURCES")
    if(NOT arg_FUNCTION OR NOT arg_SOURCES)
        message(FATAL_ERROR "rivode_add_message_table(${target}) needs FUNCTION and SOURCES")
    endif()
    string(MAKE_C_IDENTIFIER "${target}_${arg_FUNCTION}" stem)
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${stem}.cpp")
    set(facility_arguments)
    foreach(facility ${arg_FACILITIES})
        list(APPEND facility_arguments --facility ${facility})
    endforeach()
    add_custom_command(OUTPUT "${output}"
        COMMAND rivode_message_compiler --output "${output}" --function ${arg_FUNCTION}
                ${facility_arguments} ${arg_SOURCES}
        DEPENDS rivode_message_compiler ${arg_SOURCES}
        COMMENT "Compiling message table ${arg_FUNCTION}"
        VERBATIM)
    target_sources(${target} PRIVATE "${output}")
endfunction()

# rivode_write_message_ids(<header> <source>...)
# Writes the constants `rivode::msg::<Name> = <id>` of every message in the English sources. Done
# at configure time, so that every layer can include the header whatever the build order; the
# message compiler checks the same headers strictly at build time.
function(rivode_write_message_ids header)
    set(content "// Generated from the message sources (messages/); do not edit.\n")
    string(APPEND content "// The ids of every message the library reports: its own (facility 0x138) and the\n")
    string(APPEND content "// host's (facilities 0x104 and 0x137), whose texts the host's table holds.\n")
    string(APPEND content "#pragma once\n\n#include <cstdint>\n\nnamespace rivode::msg {\n")
    foreach(source ${ARGN})
        if(NOT source MATCHES "\\.en\\.msg$")
            continue()
        endif()
        get_filename_component(source_name "${source}" NAME)
        string(APPEND content "\n// ${source_name}\n")
        file(STRINGS "${source}" headers ENCODING UTF-8
             REGEX "^\\[0[xX][0-9A-Fa-f]+ [A-Za-z_][A-Za-z0-9_]*\\]$")
        foreach(line ${headers})
            string(REGEX REPLACE "^\\[(0[xX][0-9A-Fa-f]+) ([A-Za-z_][A-Za-z0-9_]*)\\]$"
                   "\\1;\\2" parts "${line}")
            list(GET parts 0 id)
            list(GET parts 1 name)
            string(TOUPPER "${id}" id)
            string(REPLACE "0X" "0x" id "${id}")
            string(APPEND content "inline constexpr std::uint32_t ${name} = ${id};\n")
        endforeach()
    endforeach()
    string(APPEND content "\n}  // namespace rivode::msg\n")
    file(WRITE "${header}.tmp" "${content}")
    file(COPY_FILE "${header}.tmp" "${header}" ONLY_IF_DIFFERENT)
    file(REMOVE "${header}.tmp")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARGN})
endfunction()
