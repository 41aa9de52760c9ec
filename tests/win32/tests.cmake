# The behaviour suite on Windows, run under Wine by tools/windows.sh: the
# platform-neutral checks and the scenarios, plus the Windows-only checks.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest is not ours to hold to our warnings.
if(NOT MSVC)
    target_compile_options(gtest PRIVATE -w)
endif()

set(win32_tests ${CMAKE_CURRENT_LIST_DIR})
if(MSVC)
    set(static_runtime /MANIFEST:NO)  # the manifest comes from resources.rc
else()
    set(static_runtime -static -static-libgcc -static-libstdc++)
endif()

add_executable(welcome_station_tests
    ${shared_test_sources}
    ${win32_tests}/process_metrics.cpp
    ${win32_tests}/test_main.cpp
    ${win32_tests}/line_breaking_test.cpp
    ${win32_tests}/win32_platform_test.cpp
    ${win32_tests}/executable_test.cpp)
target_include_directories(welcome_station_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(welcome_station_tests PRIVATE ws_win32_automation gtest version)
target_link_options(welcome_station_tests PRIVATE ${static_runtime})
target_compile_definitions(welcome_station_tests PRIVATE
    # Wine shows the host file system as drive Z.
    WS_ASSETS_DIR="Z:${PROJECT_SOURCE_DIR}/assets"
    WS_STATION_EXE="$<TARGET_FILE:welcome-station>")
add_dependencies(welcome_station_tests welcome-station)

# A winmm.dll planted beside a program that sends a tray command: the probe
# reports which winmm.dll answered. tools/windows.sh runs it, with Wine told
# to prefer a winmm.dll it finds there to its own.
add_executable(tray_probe ${win32_tests}/tray_probe.cpp)
target_link_libraries(tray_probe PRIVATE ws_win32)
target_link_options(tray_probe PRIVATE ${static_runtime})
add_library(planted_winmm SHARED ${win32_tests}/planted_winmm.cpp)
set_target_properties(planted_winmm PROPERTIES OUTPUT_NAME winmm PREFIX "")
target_link_options(planted_winmm PRIVATE ${static_runtime})
set_target_properties(tray_probe planted_winmm PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/planted
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/planted)

# Renders the greeting box and the three windows for the documentation.
add_executable(snapshots ${win32_tests}/snapshots.cpp)
target_link_libraries(snapshots PRIVATE ws_win32_automation)
target_link_options(snapshots PRIVATE ${static_runtime})
