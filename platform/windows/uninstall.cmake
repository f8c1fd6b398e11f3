# Writes the uninstaller's list of what to take away: every file and folder
# at the top of the staged program folder, which the install rules made and
# the installer copies whole, so the list can never miss what they add.
#     cmake -DFOLDER=<staged program folder> -DOUT=<.nsh file> -P uninstall.cmake
cmake_minimum_required(VERSION 3.18)
foreach(required FOLDER OUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "uninstall.cmake: ${required} is not given")
  endif()
endforeach()

file(GLOB entries RELATIVE ${FOLDER} ${FOLDER}/*)
list(SORT entries)
set(text "; Written by uninstall.cmake from the staged program folder.\n")
foreach(entry ${entries})
  string(REPLACE "/" "\\" name "${entry}")
  if(IS_DIRECTORY ${FOLDER}/${entry})
    string(APPEND text "RMDir /r \"$INSTDIR\\${name}\"\n")
  else()
    string(APPEND text "Delete \"$INSTDIR\\${name}\"\n")
  endif()
endforeach()
file(WRITE ${OUT} "${text}")
