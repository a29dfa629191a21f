# Native build: the simulated machine, the unit tests and the resource generator.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

# The simulated Windows lives with the tests; no program links it.
file(GLOB sim_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/sim/*.cpp)
add_library(kestrava_sim STATIC ${sim_sources})
target_include_directories(kestrava_sim PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(kestrava_sim PUBLIC kestrava_resources kestrava_platform Threads::Threads)

add_executable(rcgen tools/rcgen.cpp)
target_link_libraries(rcgen PRIVATE kestrava_resources)

# The simulated machine comes from kestrava_sim, not compiled a second time here.
file(GLOB_RECURSE native_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
list(FILTER native_tests EXCLUDE REGEX "_wine\\.cpp$|/tests/sim/|/tests/programs/|/tests/libraries/|/tests/fuzz/|/tests/bench/")
add_executable(kestrava_tests ${native_tests})
target_include_directories(kestrava_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(kestrava_tests PRIVATE vornel_core drainex_core kestrava_sim GTest::gtest GTest::gtest_main
                      GTest::gmock Threads::Threads)
# Every test reads the GoogleTest headers, so they are parsed once for all.
target_precompile_headers(kestrava_tests PRIVATE <gtest/gtest.h> <gmock/gmock.h>)

# The region builder on a full-screen mask against a plain read of its pixels (tools/bench.sh).
add_executable(region_bench tests/bench/RegionBench.cpp src/skin/RegionFromBitmap.cpp src/skin/MemoryDc.cpp)
target_link_libraries(region_bench PRIVATE kestrava_sim)
# The host's cost of memory written for the first time (tools/bench.sh, beside the stand-ins).
add_executable(touch_bench tests/bench/TouchBench.cpp)
