# Installs the build into a fresh prefix, then builds and runs hosts against it: a small one,
# and rivode from its own sources.
# Variables: BUILD_DIR (the build to install), WORK_DIR (scratch), CONSUMER_DIR, GENERATOR,
# HOST_FLAGS (the flags the hosts link with, such as the sanitizers), RIVODE_CLI_DIR
# (rivode's sources), RIVODE_HOST_MESSAGE_TABLE (its generated message table), COMPILER_LAUNCHER
# (the build's, such as a compiler cache; may be empty), QT_HALF (true when the build made the
# companion library's Qt half).
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "installing failed")
endif()
execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${CONSUMER_DIR}" -B "${WORK_DIR}/consumer" -G "${GENERATOR}"
        # Unoptimised and uninstrumented, linked with the sanitizers' runtime that a sanitizer
        # build's libraries need: the check is that the hosts compile, link and run against the
        # package, and the main build already runs rivode's sources under the sanitizers.
        # Compiling them again instrumented took most of the suite's time.
        "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_BUILD_TYPE="
        "-DCMAKE_EXE_LINKER_FLAGS=${HOST_FLAGS}"
        "-DCMAKE_CXX_COMPILER_LAUNCHER=${COMPILER_LAUNCHER}"
        "-DRIVODE_CLI_DIR=${RIVODE_CLI_DIR}"
        "-DRIVODE_HOST_MESSAGE_TABLE=${RIVODE_HOST_MESSAGE_TABLE}"
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
# The Qt half is installed with its targets whenever the build made it (QT_HALF), and a Qt host
# shows a dialog through it, offscreen.
if(QT_HALF)
    if(NOT EXISTS "${WORK_DIR}/consumer/consumer_qt")
        message(FATAL_ERROR "the Qt host was not built: no Qt component in the package")
    endif()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
            "XDG_RUNTIME_DIR=${WORK_DIR}" "${WORK_DIR}/consumer/consumer_qt"
        OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE failed)
    if(failed OR NOT output STREQUAL "ended with OK\n")
        message(FATAL_ERROR "the Qt host failed (${failed}): ${output}${errors}")
    endif()
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

# rivode built from its sources and the installed package only: it finds the folder it is given
# and the library's texts.
# Its home, runtime folder and registry are the check's, never the user's.
set(config "${WORK_DIR}/rivode-config")
set(home "${WORK_DIR}/rivode-home")
file(MAKE_DIRECTORY "${config}" "${home}/config" "${home}/runtime" "${home}/registry")
set(rivode "${CMAKE_COMMAND}" -E env --unset=LC_ALL --unset=LC_MESSAGES LANG=C.UTF-8
    "XDG_CONFIG_HOME=${home}/config" "XDG_RUNTIME_DIR=${home}/runtime"
    "YARROWBY_REGISTRY=${home}/registry" "${WORK_DIR}/consumer/rivode" --config "${config}/")
execute_process(COMMAND ${rivode} config-folder
    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE failed)
if(failed OR NOT output MATCHES "^${config}\nfound: command line\n")
    message(FATAL_ERROR "rivode built against the package failed (${failed}): ${output}${errors}")
endif()
execute_process(COMMAND ${rivode} decrypt INPUT_FILE "${CONSUMER_DIR}/main.cpp"
    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE failed)
if(NOT failed EQUAL 2 OR NOT errors MATCHES "is not an encrypted value")
    message(FATAL_ERROR
        "rivode built against the package lacks the library's texts (${failed}): ${errors}")
endif()
