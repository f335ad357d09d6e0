# Installs the build into a fresh prefix, then builds and runs a host against it.
# Variables: BUILD_DIR (the build to install), WORK_DIR (scratch), CONSUMER_DIR, GENERATOR,
# HOST_FLAGS (compile and link flags the host needs, such as the sanitizers).
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "installing failed")
endif()
execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${CONSUMER_DIR}" -B "${WORK_DIR}/consumer" -G "${GENERATOR}"
        "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_BUILD_TYPE=Release"
        "-DCMAKE_CXX_FLAGS=${HOST_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${HOST_FLAGS}"
    OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "the host did not configure against the installed package")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK_DIR}/consumer" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "the host did not build against the installed package")
endif()
file(READ "${WORK_DIR}/consumer/consumer_cmake.version" record)
if(NOT record STREQUAL "FileType=Application\nFileVersion=1.2.0.0\nCompanyName=Yarrowby Software, Inc.\n")
    message(FATAL_ERROR "the version record of the host is wrong: ${record}")
endif()
foreach(host consumer_cmake consumer_pkgconfig)
    file(MAKE_DIRECTORY "${WORK_DIR}/${host}-config")
    execute_process(COMMAND "${WORK_DIR}/consumer/${host}" "${WORK_DIR}/${host}-config"
        OUTPUT_VARIABLE output RESULT_VARIABLE failed)
    string(REGEX REPLACE "\r?\n" "|" output "${output}")
    if(failed OR NOT output STREQUAL "Quillterm could not be launched from the following location:|/opt/quillterm")
        message(FATAL_ERROR "${host} failed (${failed}): ${output}")
    endif()
    if(NOT EXISTS "${WORK_DIR}/${host}-config/Sessions/Installed.ini")
        message(FATAL_ERROR "${host} stored nothing")
    endif()
endforeach()
