# Fails when a file of the rules (game/model, game/magic) or of the players (game/net, game/ai) includes
# a header of the view, the screens, or the shell's drawing, sound and screens: the rules announce what
# happened (game/model/announce.h) and never reach up to what shows it.
#   cmake -DROOT=<source tree> -P includes.cmake
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P includes.cmake")
endif()

cmake_policy(SET CMP0057 NEW)    # IN_LIST

set(rules game/model game/magic game/net game/ai)
# What of the shell a rule may use: the debug log and the program's activity. (Not the preferences: they
# keep the view's switches; what of them a rule needs, the player's name, is the model's.)
set(allowedshell debuglog.h shell.h)

set(bad "")
foreach(dir ${rules})
  file(GLOB_RECURSE sources "${ROOT}/${dir}/*.cpp" "${ROOT}/${dir}/*.h")
  foreach(source ${sources})
    file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"game/")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
      set(wrong FALSE)
      if(header MATCHES "^game/(view|screens)/")
        set(wrong TRUE)
      elseif(header MATCHES "^game/shell/(.*)$")
        set(name "${CMAKE_MATCH_1}")
        if(NOT name IN_LIST allowedshell)
          set(wrong TRUE)
        endif()
      endif()
      if(wrong)
        file(RELATIVE_PATH name "${ROOT}" "${source}")
        string(APPEND bad "  ${name}: ${header}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(bad)
  message(FATAL_ERROR "The rules include what shows them:\n${bad}")
endif()
message(STATUS "The rules include nothing of the view, the screens or the shell's drawing and sound.")
