# The tests of the Windows build: the test programs that need nothing of an X
# server from outside, cross-compiled and run through Wine on the suite's X
# server (Wine hands OpenGL to Mesa, as on Linux). Each program is one ctest
# case: every process costs seconds under Wine.

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
  graphics/gl_fixture.cpp)
target_link_libraries(game_tests PRIVATE test_base test_display)

add_executable(host_tests
  host/frame_loop_test.cpp host/services_test.cpp host/input_test.cpp host/pacing_test.cpp)
target_link_libraries(host_tests PRIVATE test_base test_display)

foreach(program runtime_tests support_tests audio_tests graphics_tests shell_tests game_tests host_tests)
  add_test(NAME Windows.${program} COMMAND ${program})
endforeach()
