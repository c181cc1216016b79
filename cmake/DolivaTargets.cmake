# Helpers for the project's libraries, tests, benchmarks and fuzz targets.

# The layer rules: which source folder may include which (tools/include-layers/layers.txt, one line
# "folder: folders it may include directly" each). The include check reads them for every include; here they
# are read once so that a library's links can be checked against them.
set(DOLIVA_LAYER_RULES ${CMAKE_SOURCE_DIR}/tools/include-layers/layers.txt)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${DOLIVA_LAYER_RULES})
file(STRINGS ${DOLIVA_LAYER_RULES} ruleLines)
set(DOLIVA_LAYER_FOLDERS)
foreach(line IN LISTS ruleLines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    if(line MATCHES "^[ \t]*([^: \t]+)[ \t]*:(.*)$")
        set(folder ${CMAKE_MATCH_1})
        string(STRIP "${CMAKE_MATCH_2}" below)
        separate_arguments(below UNIX_COMMAND "${below}")
        list(APPEND DOLIVA_LAYER_FOLDERS ${folder})
        set_property(GLOBAL PROPERTY DOLIVA_LAYER_BELOW_${folder} ${below})
    endif()
endforeach()

# The rule folder a source folder lies in (the longest rule folder that is it or holds it), or empty.
function(doliva_layer_folder dir out)
    set(best "")
    string(LENGTH "${best}" bestLength)
    foreach(folder IN LISTS DOLIVA_LAYER_FOLDERS)
        string(LENGTH "${folder}" length)
        if((dir STREQUAL folder OR dir MATCHES "^${folder}/") AND length GREATER bestLength)
            set(best ${folder})
            set(bestLength ${length})
        endif()
    endforeach()
    set(${out} "${best}" PARENT_SCOPE)
endfunction()

# Whether the rules let folder `from` include folder `to`, directly or through the folders below it.
function(doliva_layer_allows from to out)
    set(pending ${from})
    set(seen)
    while(pending)
        list(POP_FRONT pending folder)
        get_property(below GLOBAL PROPERTY DOLIVA_LAYER_BELOW_${folder})
        if(folder STREQUAL to OR below STREQUAL "*")
            set(${out} TRUE PARENT_SCOPE)
            return()
        endif()
        if(NOT folder IN_LIST seen)
            list(APPEND seen ${folder})
            list(APPEND pending ${below})
        endif()
    endwhile()
    set(${out} FALSE PARENT_SCOPE)
endfunction()

# Makes `#include "<dir>/..."` (and nothing else) resolve through `includeDir`: a link named after the folder,
# or with HIDE a real folder holding a link for each entry of <dir> but the hidden ones. Debug information and
# __FILE__ name the sources; the compiler's messages name a header by the link's path.
function(doliva_expose_folder target scope includeDir dir)
    cmake_parse_arguments(E "" "" "HIDE" ${ARGN})
    set(link ${includeDir}/${dir})
    set(source ${CMAKE_SOURCE_DIR}/${dir})
    if(E_HIDE)
        file(GLOB entries LIST_DIRECTORIES true RELATIVE ${source} CONFIGURE_DEPENDS ${source}/*)
        list(REMOVE_ITEM entries ${E_HIDE})
        set(links)
        foreach(entry IN LISTS entries)
            list(APPEND links ${link}/${entry} ${source}/${entry})
        endforeach()
    else()
        set(links ${link} ${source})
    endif()
    # Made anew at each configure: removing a link never touches what it points to.
    file(REMOVE_RECURSE ${link})
    while(links)
        list(POP_FRONT links path pointee)
        get_filename_component(parent ${path} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${pointee} ${path} SYMBOLIC)
    endwhile()
    target_include_directories(${target} ${scope} ${includeDir})
    target_compile_options(${target} ${scope} -ffile-prefix-map=${link}=${source})
endfunction()

# One library per source folder: its sources are the .cpp files below the folder.
#
#   doliva_library(<name> <dir> [HEADERS] [LAYER <folder>] [EXCLUDE <regex>] [HIDE <subfolder>...]
#                  [LINKS <libraries>...])
#
# Users see only the folder itself (`#include "<dir>/..."`) and, through its links, the folders below it; with
# HIDE the named subfolders stay private to the library (another target exposes them). HEADERS makes a
# library of headers only, as does a folder with no code yet: it still takes its place in the order.
# A library may link only project libraries defined before it (the add_subdirectory order is the layer
# order) and that the layer rules let its folder include; LAYER names the rule folder that stands for a
# library of several (the platform's top area).
function(doliva_library name dir)
    cmake_parse_arguments(L "HEADERS" "EXCLUDE;LAYER" "HIDE;LINKS" ${ARGN})
    if(L_LAYER)
        set(folder ${L_LAYER})
    else()
        doliva_layer_folder(${dir} folder)
    endif()
    if(NOT folder OR NOT folder IN_LIST DOLIVA_LAYER_FOLDERS)
        message(FATAL_ERROR "${name}: no rule in ${DOLIVA_LAYER_RULES} holds the folder ${dir}")
    endif()
    get_property(defined GLOBAL PROPERTY DOLIVA_LIBRARIES)
    foreach(link IN LISTS L_LINKS)
        if(link IN_LIST defined)
            get_target_property(linkFolder ${link} DOLIVA_LAYER_FOLDER)
            doliva_layer_allows(${folder} ${linkFolder} allowed)
            if(NOT allowed)
                message(FATAL_ERROR "${name} (${folder}) links ${link} (${linkFolder}), which the rules in "
                                    "${DOLIVA_LAYER_RULES} do not let ${folder} include")
            endif()
        elseif(link MATCHES "^doliva_")
            message(FATAL_ERROR "${name} links ${link}, which is not defined before it: the folders are added "
                                "in layer order, and a library links only what lies below it")
        endif()
    endforeach()

    set(sources)
    if(NOT L_HEADERS)
        file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
        if(L_EXCLUDE)
            list(FILTER sources EXCLUDE REGEX "${L_EXCLUDE}")
        endif()
    endif()
    if(sources)
        add_library(${name} STATIC ${sources})
        set(scope PUBLIC)
    else()
        add_library(${name} INTERFACE)
        set(scope INTERFACE)
    endif()
    target_link_libraries(${name} ${scope} ${L_LINKS})
    set(includeDir ${CMAKE_BINARY_DIR}/include/${name})
    doliva_expose_folder(${name} ${scope} ${includeDir} ${dir} HIDE ${L_HIDE})
    foreach(hidden IN LISTS L_HIDE)
        doliva_expose_folder(${name} PRIVATE ${includeDir}-private ${dir}/${hidden})
    endforeach()
    set_target_properties(${name} PROPERTIES DOLIVA_LAYER_FOLDER ${folder})
    set_property(GLOBAL APPEND PROPERTY DOLIVA_LIBRARIES ${name})
endfunction()

# A GoogleTest executable from every .cpp in a test folder, run whole and shuffled by CTest through the
# isolating launcher: one CTest entry per binary, or SHARDS entries that each run a share of its tests
# (gtest's GTEST_TOTAL_SHARDS and GTEST_SHARD_INDEX) for a binary long enough to hold up a parallel run.
#
#   doliva_test(<name> <dir> [LABEL <label>] [SHARDS <n>] [LIBS <libraries>...])
function(doliva_test name dir)
    cmake_parse_arguments(T "" "LABEL;SHARDS" "LIBS" ${ARGN})
    if(NOT T_LABEL)
        set(T_LABEL unit)
    endif()
    if(NOT T_SHARDS)
        set(T_SHARDS 1)
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE DOLIVA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                               DOLIVA_BINARY_DIR="${CMAKE_BINARY_DIR}")
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${DOLIVA_LAUNCHER})
    # The slow binaries wait on real time more than they compute: started first, they overlap the rest.
    if(T_LABEL STREQUAL "slow")
        set(cost 100)
    else()
        set(cost 10)
    endif()
    if(T_SHARDS EQUAL 1)
        add_test(NAME ${name} COMMAND ${name} --gtest_shuffle)
        set_tests_properties(${name} PROPERTIES LABELS ${T_LABEL} TIMEOUT 1500 COST ${cost})
        return()
    endif()
    math(EXPR last "${T_SHARDS} - 1")
    foreach(index RANGE ${last})
        math(EXPR shown "${index} + 1")
        set(test ${name}.${shown}of${T_SHARDS})
        add_test(NAME ${test} COMMAND ${name} --gtest_shuffle)
        set_tests_properties(${test} PROPERTIES LABELS ${T_LABEL} TIMEOUT 1500 COST ${cost}
                             ENVIRONMENT "GTEST_TOTAL_SHARDS=${T_SHARDS};GTEST_SHARD_INDEX=${index}")
    endforeach()
endfunction()

# A Google Benchmark executable, smoke-run once by CTest (label bench).
function(doliva_benchmark name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    add_test(NAME ${name} COMMAND ${name} --benchmark_min_time=0.01)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${DOLIVA_LAUNCHER})
    set_tests_properties(${name} PROPERTIES LABELS bench TIMEOUT 300)
endfunction()

# A fuzz target: its LLVMFuzzerTestOneInput over the seed corpus fuzz/corpus/<name>.
#
# In the test tree it links a replay main (tools/fuzz-replay) and CTest (label fuzz) runs each seed through
# it once, under the tree's sanitizers. In the fuzz tree (DOLIVA_FUZZ, clang) it links libFuzzer, and CTest
# (label fuzzing, `./dev fuzz`) fuzzes from the seeds for DOLIVA_FUZZ_RUNS runs or DOLIVA_FUZZ_SECONDS.
function(doliva_fuzzer name)
    cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
    set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    add_dependencies(fuzz_all ${name})
    if(NOT DOLIVA_FUZZ)
        target_link_libraries(${name} PRIVATE doliva_fuzz_replay)
        add_test(NAME ${name} COMMAND ${DOLIVA_LAUNCHER} $<TARGET_FILE:${name}> ${corpus})
        set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 300)
        return()
    endif()
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
    add_test(NAME ${name}
             COMMAND ${DOLIVA_LAUNCHER} $<TARGET_FILE:${name}>
                     -runs=${DOLIVA_FUZZ_RUNS} -max_total_time=${DOLIVA_FUZZ_SECONDS} -rss_limit_mb=4096
                     -print_final_stats=1 ${work} ${corpus})
    math(EXPR timeout "${DOLIVA_FUZZ_SECONDS} + 300")
    set_tests_properties(${name} PROPERTIES LABELS fuzzing TIMEOUT ${timeout})
    file(MAKE_DIRECTORY ${work})
endfunction()
