# Cross build for Windows: the two programs, the test programs and the Wine tests.
kestrava_layer(platform/win32 kestrava_platform gdi32 user32 advapi32)
# Each part of the real backend installs itself at start-up, so every one is linked.
set(win32_backend "$<LINK_LIBRARY:WHOLE_ARCHIVE,kestrava_win32>")

set(win_link_options -static -static-libgcc -static-libstdc++)

# The resource script is written by the native generator from the dialog table.
if(NOT KESTRAVA_RCGEN)
  message(FATAL_ERROR "KESTRAVA_RCGEN must name the native rcgen program")
endif()
set(art_dir ${CMAKE_BINARY_DIR}/art)
add_custom_command(
  OUTPUT ${art_dir}/stamp
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/art/make_art.py ${art_dir}
  COMMAND ${CMAKE_COMMAND} -E touch ${art_dir}/stamp
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/art/make_art.py ${CMAKE_SOURCE_DIR}/tools/art/resource_ids.py
          ${CMAKE_SOURCE_DIR}/src/resources/ResourceIds.h
  COMMENT "Drawing the skin bitmaps")
set(resource_dir ${CMAKE_SOURCE_DIR}/src/resources)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/Vornel.rc
  COMMAND ${KESTRAVA_RCGEN} Vornel ${PROJECT_VERSION} ${resource_dir} ${art_dir} > ${CMAKE_BINARY_DIR}/Vornel.rc
  DEPENDS ${KESTRAVA_RCGEN} ${art_dir}/stamp ${resource_dir}/Vornel.manifest
  COMMENT "Writing the resource script of Vornel")
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/Drainex.rc
  COMMAND ${KESTRAVA_RCGEN} Drainex ${PROJECT_VERSION} ${resource_dir} > ${CMAKE_BINARY_DIR}/Drainex.rc
  DEPENDS ${KESTRAVA_RCGEN} ${resource_dir}/Drainex.manifest
  COMMENT "Writing the resource script of Drainex")
set_source_files_properties(${CMAKE_BINARY_DIR}/Vornel.rc ${CMAKE_BINARY_DIR}/Drainex.rc PROPERTIES GENERATED TRUE)
set(CMAKE_RC_FLAGS "-c 949")
enable_language(RC)

# Vornel starts only the Drainex.exe built with it: the build writes that file's SHA-256 into Vornel.
set(drainex_digest_header ${CMAKE_BINARY_DIR}/generated/DrainexDigest.h)
add_custom_command(
  OUTPUT ${drainex_digest_header}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:Drainex> -DOUTPUT=${drainex_digest_header}
          -P ${CMAKE_SOURCE_DIR}/cmake/DrainexDigest.cmake
  DEPENDS Drainex ${CMAKE_SOURCE_DIR}/cmake/DrainexDigest.cmake
  COMMENT "Writing the SHA-256 of Drainex.exe for Vornel")

add_executable(Vornel WIN32 src/app/WinMain.cpp ${drainex_digest_header} ${CMAKE_BINARY_DIR}/Vornel.rc)
target_include_directories(Vornel PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(Vornel PRIVATE vornel_core ${win32_backend})
target_link_options(Vornel PRIVATE ${win_link_options})

add_executable(Drainex WIN32 src/drainex/DrainexMain.cpp ${CMAKE_BINARY_DIR}/Drainex.rc)
target_link_libraries(Drainex PRIVATE drainex_core ${win32_backend})
target_link_options(Drainex PRIVATE ${win_link_options})

# The two programs may import by name only what the oldest Windows of their build exports.
set(import_audit_stamp ${CMAKE_BINARY_DIR}/import-audit.stamp)
add_custom_command(
  OUTPUT ${import_audit_stamp}
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/imports/check_imports.py ${CMAKE_SYSTEM_PROCESSOR}
          $<TARGET_FILE:Vornel> $<TARGET_FILE:Drainex>
  COMMAND ${CMAKE_COMMAND} -E touch ${import_audit_stamp}
  DEPENDS Vornel Drainex ${CMAKE_SOURCE_DIR}/tools/imports/check_imports.py
          ${CMAKE_SOURCE_DIR}/tools/imports/allowed-imports.txt
  COMMENT "Auditing the import tables of Vornel.exe and Drainex.exe")
add_custom_target(import_audit ALL DEPENDS ${import_audit_stamp})

# Helper programs used by the Wine tests (test ping, child processes, the automation driver).
file(GLOB test_programs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/programs/*.cpp)
foreach(program ${test_programs})
  get_filename_component(name ${program} NAME_WE)
  add_executable(${name} ${program})
  target_link_libraries(${name} PRIVATE vornel_core drainex_core ${win32_backend})
  target_link_options(${name} PRIVATE ${win_link_options})
endforeach()

# GoogleTest from the Debian source package, built for Windows.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# The win32 thread-model runtime has no std::mutex, on which GoogleTest's Notification rests.
target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
target_compile_options(gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/cmake/GoogleTestNotification.h)
file(GLOB_RECURSE wine_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_wine.cpp)
if(wine_tests)
  add_executable(kestrava_wine_tests ${wine_tests})
  target_include_directories(kestrava_wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(kestrava_wine_tests PRIVATE vornel_core drainex_core ${win32_backend} gtest gtest_main gmock
                        version)
  target_compile_definitions(kestrava_wine_tests PRIVATE KESTRAVA_VERSION="${PROJECT_VERSION}")
  target_link_options(kestrava_wine_tests PRIVATE ${win_link_options})
  # Found by the library search tests beside the test program, and nowhere else.
  add_library(kestrava_beside SHARED tests/libraries/kestrava_beside.cpp)
  set_target_properties(kestrava_beside PROPERTIES PREFIX "")
  target_link_options(kestrava_beside PRIVATE ${win_link_options})
  add_dependencies(kestrava_wine_tests kestrava_beside)
endif()

# Planted as COMCTL32.dll beside the programs by the end-to-end runs; it leaves a trace
# wherever it is loaded.
add_library(planted_comctl32 SHARED tests/libraries/planted_comctl32.cpp)
set_target_properties(planted_comctl32 PROPERTIES PREFIX "")
target_link_options(planted_comctl32 PRIVATE ${win_link_options} -Wl,--kill-at)

# Benchmarks under Wine, run by tools/bench.sh on the 64-bit build: one boost measured through
# the spy library that the harness hooks into Vornel, and the release passes against a plain loop.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_library(bench_spy SHARED tests/bench/BenchSpy.cpp)
  set_target_properties(bench_spy PROPERTIES PREFIX "")
  target_link_options(bench_spy PRIVATE ${win_link_options} -Wl,--kill-at)
  add_executable(boost_bench tests/bench/BoostBench.cpp tests/bench/BoostReport.cpp)
  target_link_options(boost_bench PRIVATE ${win_link_options})
  add_executable(release_bench tests/bench/ReleaseBench.cpp)
  target_link_libraries(release_bench PRIVATE drainex_core ${win32_backend})
  target_link_options(release_bench PRIVATE ${win_link_options})
endif()
