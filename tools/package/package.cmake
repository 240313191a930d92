# cmake -DGAMEDIR=<game directory> -DHEAD=<head manifest> -DOUT=<installer folder> -DWORK=<work folder>
#       -DGORVPACKAGE=<gorvpackage> -DGORVPACK=<gorvpack> -P package.cmake
# Writes the installer's folder, ready to copy anywhere: the installer program, the package module
# INSTALL.DLL and its component modules, packed by gorvpack from the manifests gorvpackage writes for
# the game directory, and the game's font for the installer's own texts. Folder and work are made anew.
foreach(variable GAMEDIR HEAD OUT WORK GORVPACKAGE GORVPACK)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "package.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK} ${OUT})
file(MAKE_DIRECTORY ${WORK} ${OUT})
execute_process(COMMAND ${GORVPACKAGE} ${GAMEDIR} ${HEAD} ${WORK} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gorvpackage could not list ${GAMEDIR}")
endif()

file(GLOB manifests ${WORK}/*.manifest)
foreach(manifest IN LISTS manifests)
  get_filename_component(module ${manifest} NAME)
  string(REGEX REPLACE "\\.manifest$" "" module ${module})
  execute_process(COMMAND ${GORVPACK} ${manifest} ${OUT}/${module} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gorvpack could not pack ${module}")
  endif()
endforeach()

# file(COPY) keeps the program's run bit.
file(COPY ${GAMEDIR}/installer ${GAMEDIR}/Font.ttf DESTINATION ${OUT})
message(STATUS "The installer and its package are in ${OUT}")
