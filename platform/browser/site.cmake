# Writes the page, its script, its manifest and its service worker into the
# site folder once the program is built. The service worker keeps every other
# file of the folder, so that whatever the build puts there plays offline, and
# names the build by a digest of them all, so that any change makes a new
# build for the players' browsers to fetch whole.
#     cmake -DSITE=<site folder> -DVERSION=<version> -P site.cmake
cmake_minimum_required(VERSION 3.18)
foreach(required SITE VERSION)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "site.cmake: ${required} is not given")
  endif()
endforeach()

set(PAGE ${CMAKE_CURRENT_LIST_DIR})
set(PROJECT_VERSION ${VERSION})
configure_file(${PAGE}/index.html.in ${SITE}/index.html @ONLY)
configure_file(${PAGE}/page.js ${SITE}/page.js COPYONLY)
configure_file(${PAGE}/manifest.webmanifest ${SITE}/manifest.webmanifest COPYONLY)

file(GLOB_RECURSE KEPT RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM KEPT sw.js)
list(SORT KEPT)
foreach(file glimmerdeep.js glimmerdeep.wasm glimmerdeep.data)
  if(NOT ${file} IN_LIST KEPT)
    message(FATAL_ERROR "site.cmake: ${SITE}/${file} is missing")
  endif()
endforeach()
set(digests "")
set(FILES "\"./\"")
foreach(file ${KEPT})
  file(SHA256 ${SITE}/${file} digest)
  string(APPEND digests "${file} ${digest}\n")
  string(APPEND FILES ", \"${file}\"")
endforeach()
string(SHA256 BUILD "${digests}")
string(SUBSTRING ${BUILD} 0 16 BUILD)
configure_file(${PAGE}/sw.js.in ${SITE}/sw.js @ONLY)
