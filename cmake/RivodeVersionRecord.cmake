# rivode_write_version_record(<target> [VERSION <a.b.c.d>] [COMPANY <name>] [FILE_TYPE <type>]
#                             [DESTINATION <folder>])
#
# Writes the version record of a product executable, "<executable>.version" beside the
# target's file, from which the library tells an installed sibling product from a stray or
# foreign file. VERSION defaults to the project's version, COMPANY to "Yarrowby Software, Inc.",
# FILE_TYPE to "Application". With DESTINATION the record is installed there too (the folder
# the executable is installed in).
function(rivode_write_version_record target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "VERSION;COMPANY;FILE_TYPE;DESTINATION" "")
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "rivode_write_version_record: unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT ARG_VERSION)
        set(ARG_VERSION "${PROJECT_VERSION}")
    endif()
    if(NOT ARG_COMPANY)
        set(ARG_COMPANY "Yarrowby Software, Inc.")
    endif()
    if(NOT ARG_FILE_TYPE)
        set(ARG_FILE_TYPE "Application")
    endif()
    set(record "$<TARGET_FILE:${target}>.version")
    file(GENERATE OUTPUT "${record}" CONTENT
        "FileType=${ARG_FILE_TYPE}\nFileVersion=${ARG_VERSION}\nCompanyName=${ARG_COMPANY}\n")
    if(ARG_DESTINATION)
        install(FILES "${record}" DESTINATION "${ARG_DESTINATION}")
    endif()
endfunction()
