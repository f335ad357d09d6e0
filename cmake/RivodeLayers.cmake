# The library's layers, bottom first. A layer's sources see the source folders of the layers
# below it and its own, and nothing above: each layer compiles against an include root in the
# build tree that links only those folders, so an upward include fails to compile instead of
# holding by discipline.
set(RIVODE_LAYERS platform reports davaraze storage products config environment)

# rivode_layer_include_root(LAYER OUT): the include root of LAYER, made on first use.
function(rivode_layer_include_root layer out)
    list(FIND RIVODE_LAYERS ${layer} index)
    if(index LESS 0)
        message(FATAL_ERROR "${layer} is not a layer of the library")
    endif()
    set(root "${CMAKE_BINARY_DIR}/layers/${layer}")
    file(MAKE_DIRECTORY "${root}")
    foreach(i RANGE ${index})
        list(GET RIVODE_LAYERS ${i} below)
        file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${below}" "${root}/${below}" SYMBOLIC)
    endforeach()
    set(${out} "${root}" PARENT_SCOPE)
endfunction()

# rivode_layer_sources(TARGET LAYER): TARGET compiles LAYER's sources: the layer's include root,
# the public headers and the generated message tables, with hidden symbols (the public headers
# mark what the shared libraries export).
function(rivode_layer_sources target layer)
    rivode_layer_include_root(${layer} root)
    target_include_directories(${target} PRIVATE "${root}" ${RIVODE_PUBLIC_INCLUDE}
        ${RIVODE_GENERATED_INCLUDE})
    set_target_properties(${target} PROPERTIES
        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
