# The browser build, included by the top CMakeLists.txt under Emscripten:
# glimmerdeep.js with its .wasm and the preloaded data beside it, the page
# with its script, manifest, icons and service worker, all in site/ of the
# build folder.
set(PLATFORM_DIR ${CMAKE_CURRENT_LIST_DIR})
set(SITE ${CMAKE_BINARY_DIR}/site)

# The frame loop blocks, as on the desktop: ASYNCIFY lets its waits (sleeps,
# and the wait for the display's refresh) unwind to the page and come back.
# The GL 1.1 device runs on the legacy GL emulation; the working folder lives
# in the page's storage (IDBFS). The program's end runs its exit hooks, as on
# the desktop, so the page can take over.
add_executable(glimmerdeep game/main.cpp game/program.cpp)
target_link_libraries(glimmerdeep PRIVATE glimmerdeep_lib)
set_target_properties(glimmerdeep PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${SITE})
target_link_options(glimmerdeep PRIVATE
  -sUSE_GLFW=3 -sLEGACY_GL_EMULATION=1 -lopenal -lidbfs.js
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sASYNCIFY_IMPORTS=browser_next_refresh
  -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1
  "SHELL:--preload-file ${GAME_DATA_DIR}@/game/data"
  "SHELL:--pre-js ${PLATFORM_DIR}/glimmerdeep.pre.js")
file(GLOB_RECURSE WEB_DATA_FILES ${GAME_DATA_DIR}/*)
set_property(TARGET glimmerdeep APPEND PROPERTY LINK_DEPENDS ${PLATFORM_DIR}/glimmerdeep.pre.js ${WEB_DATA_FILES})

file(COPY LICENSE LICENSE.fonts DESTINATION ${SITE})
configure_file(${ICONS_DIR}/64x64/apps/${GLIMMERDEEP_APP_ID}.png ${SITE}/icon.png COPYONLY)
foreach(icon icon-192.png icon-512.png maskable-512.png)
  configure_file(${ICONS_DIR}/web/${icon} ${SITE}/${icon} COPYONLY)
endforeach()

# The page and its service worker, which names the build by its files: run
# after everything else this file puts in the site folder.
set(SITE_SCRIPT ${PLATFORM_DIR}/site.cmake)
set(PAGE_FILES index.html.in page.js manifest.webmanifest sw.js.in)
list(TRANSFORM PAGE_FILES PREPEND ${PLATFORM_DIR}/)
add_custom_command(
  OUTPUT ${SITE}/index.html ${SITE}/page.js ${SITE}/manifest.webmanifest ${SITE}/sw.js
  COMMAND ${CMAKE_COMMAND} -DSITE=${SITE} -DVERSION=${PROJECT_VERSION} -P ${SITE_SCRIPT}
  DEPENDS glimmerdeep ${SITE_SCRIPT} ${PAGE_FILES}
  COMMENT "Writing the page and its service worker"
  VERBATIM)
add_custom_target(site ALL DEPENDS ${SITE}/sw.js)
