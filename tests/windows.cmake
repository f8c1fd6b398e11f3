# The tests of the Windows build: the test programs that need nothing of an X
# server from outside, cross-compiled and run through Wine on the suite's X
# server (Wine hands OpenGL to Mesa, as on Linux). Each program is one ctest
# case: every process costs seconds under Wine.

set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all wine)

add_executable(runtime_tests runtime/gc_test.cpp runtime/string_test.cpp)
target_link_libraries(runtime_tests PRIVATE test_base)

add_executable(support_tests
  support/containers_test.cpp support/data_test.cpp support/databuffer_test.cpp support/socket_test.cpp
  support/thread_test.cpp harness/scratch_test.cpp)
target_link_libraries(support_tests PRIVATE test_base)

add_executable(audio_tests audio/device_test.cpp audio/decoder_test.cpp)
target_link_libraries(audio_tests PRIVATE test_base test_display)

add_executable(graphics_tests
  graphics/gl_fixture.cpp graphics/device_test.cpp graphics/surface_test.cpp
  graphics/context_test.cpp graphics/image_test.cpp)
target_link_libraries(graphics_tests PRIVATE test_base test_display)

add_executable(shell_tests
  shell/state_test.cpp shell/draw_test.cpp shell/controls_test.cpp shell/sound_test.cpp
  shell/menus_test.cpp shell/scores_test.cpp
  shell/particles_test.cpp graphics/gl_fixture.cpp)
target_link_libraries(shell_tests PRIVATE test_base test_display)

add_executable(game_tests
  game/world_test.cpp game/render_test.cpp game/flow_test.cpp game/play_test.cpp game/assets_test.cpp
  game/layout_test.cpp graphics/gl_fixture.cpp)
target_link_libraries(game_tests PRIVATE test_base test_display)

add_executable(host_tests
  host/frame_loop_test.cpp host/services_test.cpp host/input_test.cpp host/pacing_test.cpp
  host/platform_windows_test.cpp)
target_link_libraries(host_tests PRIVATE test_base test_display)

# The prefix every run shares, made once (tools/windows/prefix.sh).
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
add_test(NAME Windows.Prefix COMMAND sh ${CMAKE_SOURCE_DIR}/tools/windows/prefix.sh ${WINE_PREFIX})
add_test(NAME Windows.EndSession COMMAND sh ${CMAKE_SOURCE_DIR}/tools/windows/prefix.sh ${WINE_PREFIX} stop)
set_tests_properties(Windows.Prefix PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(Windows.EndSession PROPERTIES FIXTURES_CLEANUP wine)

# Those without a window run beside the rest; those with one take turns on
# the X server, where each makes and focuses windows of its own.
foreach(program runtime_tests support_tests audio_tests graphics_tests shell_tests game_tests host_tests)
  add_test(NAME Windows.${program} COMMAND ${program})
  set_tests_properties(Windows.${program} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
endforeach()
set_tests_properties(Windows.graphics_tests Windows.shell_tests Windows.game_tests Windows.host_tests
  PROPERTIES RESOURCE_LOCK display)

# The zip, unpacked and played under Wine by a Linux program of the desktop
# build's (tests/windows/program_test.cpp), which drives it from outside.
add_test(NAME Windows.Program COMMAND ${GLIMMERDEEP_DATA_FROM}/tests/windows_program_tests)
set_tests_properties(Windows.Program PROPERTIES
  FIXTURES_REQUIRED wine RESOURCE_LOCK display TIMEOUT 900
  ENVIRONMENT "GLIMMERDEEP_WINDOWS_ZIP=${WINDOWS_ZIP};GLIMMERDEEP_WINDOWS_INSTALLER=${INSTALLER};WINEPREFIX=${WINE_PREFIX}")
