# Writes the page, its script, its manifest and its service worker into the
# site folder once the program is built. The service worker names the build
# by a digest of every file it keeps, so that any change makes a new build
# for the players' browsers to fetch whole.
#     cmake -DSITE=<site folder> -DSOURCE=<source folder> -DVERSION=<version> -P browser_site.cmake
foreach(required SITE SOURCE VERSION)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "browser_site.cmake: ${required} is not given")
  endif()
endforeach()

set(PROJECT_VERSION ${VERSION})
configure_file(${SOURCE}/host/browser.html ${SITE}/index.html @ONLY)
configure_file(${SOURCE}/host/browserpage.js ${SITE}/page.js COPYONLY)
configure_file(${SOURCE}/host/browser.webmanifest ${SITE}/manifest.webmanifest COPYONLY)

set(KEPT index.html page.js manifest.webmanifest glimmerdeep.js glimmerdeep.wasm glimmerdeep.data
    icon.png icon-192.png icon-512.png maskable-512.png LICENSE LICENSE.fonts)
set(digests "")
set(FILES "\"./\"")
foreach(file ${KEPT})
  if(NOT EXISTS ${SITE}/${file})
    message(FATAL_ERROR "browser_site.cmake: ${SITE}/${file} is missing")
  endif()
  file(SHA256 ${SITE}/${file} digest)
  string(APPEND digests "${file} ${digest}\n")
  string(APPEND FILES ", \"${file}\"")
endforeach()
string(SHA256 BUILD "${digests}")
string(SUBSTRING ${BUILD} 0 16 BUILD)
configure_file(${SOURCE}/host/serviceworker.js ${SITE}/sw.js @ONLY)
