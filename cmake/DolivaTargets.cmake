# Helpers for the project's libraries, tests, benchmarks and fuzz targets.

# One static library per top-level folder; its sources are the .cpp files below it.
function(doliva_library name dir)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    if(NOT sources)
        # A folder that holds no code yet still takes part in the dependency order.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARGN})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# A GoogleTest executable from every .cpp in a test folder, each test case run by CTest through the
# isolating launcher. doliva_test(name dir LABEL label LIBS libs...)
function(doliva_test name dir)
    cmake_parse_arguments(T "" "LABEL" "LIBS" ${ARGN})
    if(NOT T_LABEL)
        set(T_LABEL unit)
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
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
                         PROPERTIES LABELS ${T_LABEL} TIMEOUT 300)
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

# A libFuzzer target, run by CTest over its seed corpus fuzz/corpus/<name> plus a bounded number of runs.
function(doliva_fuzzer name)
    cmake_parse_arguments(F "" "RUNS" "SOURCES;LIBS" ${ARGN})
    if(NOT F_RUNS)
        set(F_RUNS 20000)
    endif()
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
    set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
    add_test(NAME ${name}
             COMMAND ${DOLIVA_LAUNCHER} $<TARGET_FILE:${name}>
                     -runs=${F_RUNS} -max_total_time=240 -rss_limit_mb=4096 -print_final_stats=1
                     ${work} ${corpus})
    set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 400)
    file(MAKE_DIRECTORY ${work})
    add_dependencies(fuzz_all ${name})
endfunction()
