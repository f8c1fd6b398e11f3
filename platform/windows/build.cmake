# The Windows build, included by the top CMakeLists.txt when cross-compiling
# with toolchain.cmake beside this file (tools/windows.sh): glimmerdeep.exe
# with its icon, version and manifest, the zip a player unpacks and the
# installer. Its tests are tests/CMakeLists.txt's, run under Wine
# (tests/windows/wine.cmake).
set(PLATFORM_DIR ${CMAKE_CURRENT_LIST_DIR})
enable_language(RC)

# The compiler's own runtime goes into the program, so that it needs no DLL
# beside it but OpenAL Soft's.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

# OpenAL Soft's DLL goes beside every program that needs it: the game and
# the test programs.
set(DEPS ${GLIMMERDEEP_WINDOWS_DEPS})
set(OPENAL_DLL ${DEPS}/bin/OpenAL32.dll)
configure_file(${OPENAL_DLL} ${CMAKE_BINARY_DIR}/OpenAL32.dll COPYONLY)
configure_file(${OPENAL_DLL} ${CMAKE_BINARY_DIR}/tests/OpenAL32.dll COPYONLY)

# WIN32: a program of its own window, which opens no console window.
configure_file(${PLATFORM_DIR}/glimmerdeep.rc.in glimmerdeep.rc @ONLY)
add_executable(glimmerdeep WIN32 game/main.cpp game/program.cpp ${CMAKE_BINARY_DIR}/glimmerdeep.rc)
target_link_libraries(glimmerdeep PRIVATE glimmerdeep_lib)

# The zip a player unpacks: one folder with the program, OpenAL Soft's DLL,
# the data, a text for players and the licences, text files with Windows'
# line ends.
function(windows_text from to)
  file(READ ${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${to} "${text}")
endfunction()

set(PACKAGE_FILES ${CMAKE_BINARY_DIR}/package)
file(REMOVE_RECURSE ${PACKAGE_FILES})
file(STRINGS ${DEPS}/lib/pkgconfig/openal.pc OPENAL_VERSION REGEX "^Version:")
string(REGEX REPLACE "^Version: *" "" OPENAL_VERSION "${OPENAL_VERSION}")
configure_file(${PLATFORM_DIR}/README.txt.in ${PACKAGE_FILES}/README.txt @ONLY NEWLINE_STYLE CRLF)
set(DEPS_DOC ${DEPS}/share/doc)
windows_text(LICENSE ${PACKAGE_FILES}/licences/Glimmerdeep.txt)
windows_text(LICENSE.fonts "${PACKAGE_FILES}/licences/DejaVu fonts.txt")
windows_text(${DEPS_DOC}/glfw/LICENSE.md ${PACKAGE_FILES}/licences/GLFW.txt)
# OpenAL Soft's own licence, then those of the parts it carries.
set(OPENAL_LICENCE "")
foreach(part COPYING BSD-3Clause LICENSE-pffft LICENSE-fmt)
  file(READ ${DEPS_DOC}/openal-soft/${part} text)
  string(APPEND OPENAL_LICENCE "${text}\n\n")
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/openal-licences.txt "${OPENAL_LICENCE}")
windows_text(${CMAKE_BINARY_DIR}/openal-licences.txt "${PACKAGE_FILES}/licences/OpenAL Soft.txt")

install(TARGETS glimmerdeep RUNTIME DESTINATION .)
install(FILES ${OPENAL_DLL} ${PACKAGE_FILES}/README.txt DESTINATION .)
install(DIRECTORY ${GAME_DATA_DIR}/ DESTINATION data)
install(DIRECTORY ${PACKAGE_FILES}/licences/ DESTINATION licences)
# Made with every build, from what the install rules put in a staging folder.
set(PACKAGE_NAME Glimmerdeep-${PROJECT_VERSION}-windows-x64)
set(WINDOWS_ZIP ${CMAKE_BINARY_DIR}/${PACKAGE_NAME}.zip)
set(STAGE ${CMAKE_BINARY_DIR}/stage)
file(GLOB_RECURSE PACKAGE_DATA ${GAME_DATA_DIR}/*)
set(UNINSTALL_LIST ${CMAKE_BINARY_DIR}/uninstall.nsh)
add_custom_command(
  OUTPUT ${WINDOWS_ZIP} ${UNINSTALL_LIST}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${STAGE} ${WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${STAGE}/${PACKAGE_NAME}
  COMMAND ${CMAKE_COMMAND} -E chdir ${STAGE} ${CMAKE_COMMAND} -E tar cf ${WINDOWS_ZIP} --format=zip ${PACKAGE_NAME}
  COMMAND ${CMAKE_COMMAND} -DFOLDER=${STAGE}/${PACKAGE_NAME} -DOUT=${UNINSTALL_LIST}
          -P ${PLATFORM_DIR}/uninstall.cmake
  DEPENDS glimmerdeep ${OPENAL_DLL} ${PACKAGE_DATA} ${PACKAGE_FILES}/README.txt ${PLATFORM_DIR}/uninstall.cmake
  COMMENT "Packing ${PACKAGE_NAME}.zip"
  VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${WINDOWS_ZIP})

# The installer, made by NSIS from the same staging folder.
find_program(MAKENSIS makensis REQUIRED)
set(INSTALLER ${CMAKE_BINARY_DIR}/Glimmerdeep-${PROJECT_VERSION}-windows-x64-setup.exe)
set(ICO ${ICONS_DIR}/${GLIMMERDEEP_APP_ID}.ico)
set(PACKAGE_DIR ${STAGE}/${PACKAGE_NAME})
configure_file(${PLATFORM_DIR}/installer.nsi.in installer.nsi @ONLY)
add_custom_command(
  OUTPUT ${INSTALLER}
  COMMAND ${MAKENSIS} -V2 ${CMAKE_BINARY_DIR}/installer.nsi
  DEPENDS ${WINDOWS_ZIP} ${UNINSTALL_LIST} ${CMAKE_BINARY_DIR}/installer.nsi
  COMMENT "Making the installer"
  VERBATIM)
add_custom_target(windows_installer ALL DEPENDS ${INSTALLER})
# The packing runs in the zip's target alone: were both targets to run it
# side by side, each would empty the staging folder under the other.
add_dependencies(windows_installer windows_zip)

