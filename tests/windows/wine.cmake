# The Windows build's tests under Wine, included by tests/CMakeLists.txt after
# the test programs both builds share (each one ctest case, Windows.NAME):
# the prefix they run in, and the zip played from outside. Wine hands OpenGL
# to Mesa on the suite's X server, as on Linux.

# The prefix every run shares, made once (prefix.sh beside this file).
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
add_test(NAME Windows.Prefix COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/prefix.sh ${WINE_PREFIX})
add_test(NAME Windows.EndSession COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/prefix.sh ${WINE_PREFIX} stop)
set_tests_properties(Windows.Prefix PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(Windows.EndSession PROPERTIES FIXTURES_CLEANUP wine)

# The zip, unpacked and played under Wine by a Linux program of the desktop
# build's (program_test.cpp beside this file), which drives it from outside.
add_test(NAME Windows.Program COMMAND ${GLIMMERDEEP_DATA_FROM}/tests/windows_program_tests)
set_tests_properties(Windows.Program PROPERTIES
  FIXTURES_REQUIRED wine RESOURCE_LOCK display TIMEOUT 900
  ENVIRONMENT "GLIMMERDEEP_WINDOWS_ZIP=${WINDOWS_ZIP};GLIMMERDEEP_WINDOWS_INSTALLER=${INSTALLER};WINEPREFIX=${WINE_PREFIX}")
