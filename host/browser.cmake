# The browser build, included by the top CMakeLists.txt under Emscripten:
# glimmerdeep.js with its .wasm and the preloaded data beside it, and the
# page, all in site/ of the build folder.
set(GLIMMERDEEP_WEB_DATA "" CACHE PATH "A data folder made by a desktop build's generator")
if(NOT EXISTS "${GLIMMERDEEP_WEB_DATA}/vizo_font.png")
  message(FATAL_ERROR "GLIMMERDEEP_WEB_DATA must name a data folder made by a desktop build (tools/web.sh makes one)")
endif()
set(GLIMMERDEEP_WEB_ICON "" CACHE FILEPATH "The page's icon, one of a desktop build's icons")
set(SITE ${CMAKE_BINARY_DIR}/site)

add_library(glimmerdeep_lib STATIC ${LIB_SOURCES})
target_include_directories(glimmerdeep_lib PUBLIC ${CMAKE_SOURCE_DIR})
# stb is header-only C that needs nothing of the system: Debian's copy serves.
target_include_directories(glimmerdeep_lib SYSTEM PUBLIC /usr/include/stb)
set_source_files_properties(support/stb_decoders.cpp PROPERTIES COMPILE_OPTIONS -w)
set_source_files_properties(game/commandline.cpp PROPERTIES
  COMPILE_DEFINITIONS GLIMMERDEEP_VERSION="${PROJECT_VERSION}")

# The frame loop blocks, as on the desktop: ASYNCIFY lets its waits unwind to
# the page and come back. The GL 1.1 device runs on the legacy GL emulation;
# the working folder lives in the page's storage (IDBFS). The program's end
# runs its exit hooks, as on the desktop, so the page can take over.
add_executable(glimmerdeep game/main.cpp game/program.cpp)
target_link_libraries(glimmerdeep PRIVATE glimmerdeep_lib)
set_target_properties(glimmerdeep PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${SITE})
target_link_options(glimmerdeep PRIVATE
  -sUSE_GLFW=3 -sLEGACY_GL_EMULATION=1 -lopenal -lidbfs.js
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1
  "SHELL:--preload-file ${GLIMMERDEEP_WEB_DATA}@/game/data"
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/host/browser.js")
file(GLOB_RECURSE WEB_DATA_FILES ${GLIMMERDEEP_WEB_DATA}/*)
set_property(TARGET glimmerdeep APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/host/browser.js ${WEB_DATA_FILES})

configure_file(host/browser.html ${SITE}/index.html @ONLY)
file(COPY LICENSE LICENSE.fonts DESTINATION ${SITE})
if(EXISTS "${GLIMMERDEEP_WEB_ICON}")
  configure_file(${GLIMMERDEEP_WEB_ICON} ${SITE}/icon.png COPYONLY)
endif()
