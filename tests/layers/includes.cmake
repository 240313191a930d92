# Fails when a file includes a header of a layer above its own. The game's layers, lowest first:
#   platform                        the only code that knows the OS
#   common                          shared by the three programs
#   game/shell                      the system services: log, clock, preferences, display, sound, music,
#                                   images, fonts, input
#   game/model game/magic           the rules
#   game/net game/ai                the players
#   game/view                       the pictures of the rules
#   game/screens                    the states
#   game/main.cpp game/main         start-up, the main loop, the window procedure
# A file may include its own layer's headers and those of the layers below it. The updater and the
# installer stand beside the game, over winkit (their windows), common and the platform; the game and
# they include nothing of each other.
#   cmake -DROOT=<source tree> -P includes.cmake
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P includes.cmake")
endif()

cmake_policy(SET CMP0057 NEW)    # IN_LIST

# The order, one layer an item, its folders joined by "+".
set(gamelayers platform common game/shell game/model+game/magic game/net+game/ai game/view game/screens game/main)
set(sidelayers platform common winkit update+installer)

# allowed_<folder>: the folders it may include.
foreach(order gamelayers sidelayers)
  set(below "")
  foreach(layer IN LISTS ${order})
    string(REPLACE "+" ";" layer "${layer}")
    list(APPEND below ${layer})
    foreach(folder IN LISTS layer)
      string(MAKE_C_IDENTIFIER "${folder}" key)
      list(APPEND allowed_${key} ${below})
      list(APPEND folders ${folder})
    endforeach()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES folders)

# The one upward reach we keep: the host's rules send what they decided to the clients (the network's
# builders and routing).
list(APPEND allowed_game_model game/net)

# What of the shell the rules and the players may use: the debug log and the program's activity. (Not
# the preferences: what of them a rule needs, the player's name, is the model's.)
set(ruling game/model game/magic game/net game/ai)
set(allowedshell debuglog.h shell.h)

# The folder a path (of a file, or of an included header) belongs to; "" for none of the layers.
function(FolderOf path out)
  set(folder "")
  if(path STREQUAL "game/main.cpp")
    set(folder game/main)
  elseif(path MATCHES "^(game/[^/]+)/")
    set(folder "${CMAKE_MATCH_1}")
  elseif(path MATCHES "^([^/]+)/")
    set(folder "${CMAKE_MATCH_1}")
  endif()
  if(NOT folder IN_LIST folders)
    set(folder "")
  endif()
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()

set(sources "")
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE found "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
  list(APPEND sources ${found})
endforeach()
if(EXISTS "${ROOT}/game/main.cpp")
  list(APPEND sources "${ROOT}/game/main.cpp")
endif()

# The tree-relative path of the header an include names, as the compiler finds it: a quoted name is
# looked for beside the including file first (always so for "./" and "../"), then under the tree's root,
# the one include directory; a bracketed name only under the root.
function(ResolveInclude includer spelling out)
  string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]*)[>\"].*" "\\1;\\2" parts "${spelling}")
  list(GET parts 0 mark)
  list(GET parts 1 header)
  get_filename_component(dir "${ROOT}/${includer}" DIRECTORY)
  set(base "${ROOT}")
  if(mark STREQUAL "\"" AND (header MATCHES "^\\.\\.?/" OR EXISTS "${dir}/${header}"))
    set(base "${dir}")
  endif()
  cmake_path(ABSOLUTE_PATH header BASE_DIRECTORY "${base}" NORMALIZE OUTPUT_VARIABLE full)
  file(RELATIVE_PATH path "${ROOT}" "${full}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

set(bad "")
foreach(source IN LISTS sources)
  file(RELATIVE_PATH name "${ROOT}" "${source}")
  FolderOf("${name}" own)
  string(MAKE_C_IDENTIFIER "${own}" key)
  # Every spelling: spaces before and after the "#", quotes or angle brackets, paths from the file's own folder.
  file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    ResolveInclude("${name}" "${line}" header)
    FolderOf("${header}" theirs)
    if(NOT theirs)
      continue()
    endif()
    set(wrong FALSE)
    if(NOT theirs IN_LIST allowed_${key})
      set(wrong TRUE)
    elseif(own IN_LIST ruling AND theirs STREQUAL "game/shell")
      get_filename_component(file "${header}" NAME)
      if(NOT file IN_LIST allowedshell)
        set(wrong TRUE)
      endif()
    endif()
    if(wrong)
      string(APPEND bad "  ${name}: ${header}\n")
    endif()
  endforeach()
endforeach()

if(bad)
  message(FATAL_ERROR "Includes against the order of the layers:\n${bad}")
endif()
message(STATUS "Every layer includes only itself and the layers below it.")
