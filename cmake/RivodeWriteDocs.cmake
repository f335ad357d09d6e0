# cmake -D RIVODE=<rivode> -D README=<README.md> -D OUTPUT_DIR=<folder> -P RivodeWriteDocs.cmake
#
# Runs the rivode just built to write what the rivode package installs beside the command: the
# manual page rivode.1.gz, with the examples of the README's "rivode" section, and the bash
# (rivode.bash) and zsh (_rivode) completion scripts. rivode writes them from its own command
# line, so they cannot fall behind it.
file(MAKE_DIRECTORY "${OUTPUT_DIR}")

# The README's examples: the first sh block after the "## `rivode`" heading.
file(STRINGS "${README}" lines)
set(examples "")
set(state heading)
foreach(line IN LISTS lines)
    if(state STREQUAL heading AND line MATCHES "^## `rivode`")
        set(state block)
    elseif(state STREQUAL block AND line MATCHES "^```sh")
        set(state inside)
    elseif(state STREQUAL inside)
        if(line MATCHES "^```")
            break()
        endif()
        string(APPEND examples "${line}\n")
    endif()
endforeach()
if(examples STREQUAL "")
    message(FATAL_ERROR "${README} has no sh block of examples under its \"rivode\" heading")
endif()
file(WRITE "${OUTPUT_DIR}/examples.txt" "${examples}")

function(run_rivode output)
    execute_process(COMMAND "${RIVODE}" ${ARGN}
        OUTPUT_FILE "${OUTPUT_DIR}/${output}" RESULT_VARIABLE failed ${input})
    if(failed)
        message(FATAL_ERROR "rivode ${ARGN} failed: ${failed}")
    endif()
endfunction()

set(input INPUT_FILE "${OUTPUT_DIR}/examples.txt")
run_rivode(rivode.1 manpage --examples-stdin)
set(input "")
run_rivode(rivode.bash completion bash)
run_rivode(_rivode completion zsh)

# Debian ships manual pages compressed, without a time stamp, so that builds are reproducible.
file(REMOVE "${OUTPUT_DIR}/rivode.1.gz")
execute_process(COMMAND gzip -9 -n -k "${OUTPUT_DIR}/rivode.1" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "gzip failed: ${failed}")
endif()
