# The Linux desktop build, included by the top CMakeLists.txt: the program,
# installed as a program folder with a launcher, desktop entry, icons,
# software-centre metadata, manual page, changelog and copyright file, and
# the Debian package made from those install rules (tools/package.sh).
set(PLATFORM_DIR ${CMAKE_CURRENT_LIST_DIR})

add_library(glimmerdeep_program OBJECT game/program.cpp)
target_link_libraries(glimmerdeep_program PUBLIC glimmerdeep_lib)

add_executable(glimmerdeep game/main.cpp)
target_link_libraries(glimmerdeep PRIVATE glimmerdeep_program glimmerdeep_lib)


# Installed as a program folder (the executable with its data beside it), a
# launcher on the PATH, a desktop entry, icons, software-centre metadata and a
# manual page in the usual places.
install(TARGETS glimmerdeep RUNTIME DESTINATION lib/glimmerdeep)
install(DIRECTORY ${CMAKE_BINARY_DIR}/data DESTINATION lib/glimmerdeep)
# The licences travel with the data they cover.
install(FILES LICENSE LICENSE.fonts DESTINATION lib/glimmerdeep/data)
install(PROGRAMS ${PLATFORM_DIR}/glimmerdeep.sh DESTINATION bin RENAME glimmerdeep)
# The desktop entry names the launcher by its installed path, known only at
# install time (cmake --install --prefix may differ from the configured one).
install(CODE "set(GLIMMERDEEP_APP_ID ${GLIMMERDEEP_APP_ID})
  configure_file(\"${PLATFORM_DIR}/glimmerdeep.desktop.in\"
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/${GLIMMERDEEP_APP_ID}.desktop\" @ONLY)")
foreach(size ${GLIMMERDEEP_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/apps/${GLIMMERDEEP_APP_ID}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
configure_file(${PLATFORM_DIR}/glimmerdeep.metainfo.xml.in ${GLIMMERDEEP_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${GLIMMERDEEP_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# What a Debian package carries beside the program: the manual page, the
# changelog (both compressed, as policy asks) and the licences as a
# machine-readable copyright file.
set(GLIMMERDEEP_MAINTAINER "Glimmerdeep developers <developers@glimmerdeep.org>")
execute_process(COMMAND date -u -R -d ${GLIMMERDEEP_RELEASE_DATE}
  OUTPUT_VARIABLE GLIMMERDEEP_RELEASE_TIME OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${PLATFORM_DIR}/glimmerdeep.6.in glimmerdeep.6 @ONLY)
configure_file(${PLATFORM_DIR}/changelog.in changelog @ONLY)
# gzip -n: no name or time stamp inside, so the same sources give the same bytes.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/glimmerdeep.6.gz ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9nkf glimmerdeep.6 changelog
  DEPENDS ${CMAKE_BINARY_DIR}/glimmerdeep.6 ${CMAKE_BINARY_DIR}/changelog
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  VERBATIM)
add_custom_target(package_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/glimmerdeep.6.gz ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/glimmerdeep.6.gz DESTINATION share/man/man6)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz ${PLATFORM_DIR}/copyright DESTINATION share/doc/glimmerdeep)

# The Debian package: tools/package.sh makes it from a release build.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glimmerdeep)
set(CPACK_PACKAGE_VENDOR "the Glimmerdeep developers")
set(CPACK_PACKAGE_CONTACT "${GLIMMERDEEP_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "underwater arcade game: steer a diver through a cave lit by sonar")
set(CPACK_PACKAGE_DESCRIPTION "You steer a diver through a dark underwater cave that you only see where
your sonar pulse, sent every 1.5 seconds, lights the rock. Collect the
spinning gold coins while vents in the cave walls send out drifting hazards
that grow faster with every coin taken; rock, vents and hazards each cost one
of three lives. Three difficulties, each with its own table of the five best
scores; keyboard, mouse and game pads; full screen or a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The desktop entry is written at install time from CMAKE_INSTALL_PREFIX:
# installing through DESTDIR keeps that /usr rather than the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${GLIMMERDEEP_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${GLIMMERDEEP_HOMEPAGE})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The libraries the program links (GLFW, OpenAL, libOpenGL, the C++
# runtime) come from dpkg-shlibdeps; libGL.so.1 does not show there, since
# GLFW opens it only at run time to make the GLX context.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
