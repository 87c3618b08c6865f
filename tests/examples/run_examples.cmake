# Installs quorv into a fresh prefix, builds examples/ against the installed package as a user's
# program would (find_package(quorv CONFIG)), runs every example and checks what it wrote with the
# structural verifier. Also runs the installed quorv-ppt (a missing header or program fails the build
# or the run).
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DVERIFY=... [-DSANITIZE=...]
#         [-DBUILD_TYPE=...] -P run_examples.cmake
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
    endif()
    set(last_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

run(${prefix}/bin/quorv-ppt --version)
message(STATUS "installed: ${last_output}")

# The library of a sanitized build needs the sanitizer runtime in the programs linked to it.
set(flags "")
if(SANITIZE)
    set(flags "-fsanitize=${SANITIZE}")
endif()
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples -B ${WORK_DIR}/build
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
    -DCMAKE_CXX_FLAGS=${flags} -DCMAKE_EXE_LINKER_FLAGS=${flags})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)

file(GLOB sources ${SOURCE_DIR}/examples/*.cpp)
set(outputs "")
foreach(source IN LISTS sources)
    get_filename_component(name ${source} NAME_WE)
    set(arguments "")
    if(name STREQUAL "pictures")
        file(GLOB arguments ${SOURCE_DIR}/examples/decks/images/*)
    endif()
    run(${WORK_DIR}/build/${name} ${WORK_DIR}/${name}.ppt ${arguments})
    message(STATUS "${last_output}")
    list(APPEND outputs ${WORK_DIR}/${name}.ppt)
endforeach()
run(${prefix}/bin/quorv-ppt build ${SOURCE_DIR}/examples/decks/shapes.json -o ${WORK_DIR}/cli.ppt)
list(APPEND outputs ${WORK_DIR}/cli.ppt)
run(${VERIFY} ${outputs})
message(STATUS "verified: ${outputs}")
