# brisklane_include_root(<target> [BASE <folder>] FOLDERS <folder>...)
#
# Gives a library an include folder of its own, ${PROJECT_BINARY_DIR}/include/<target>, that holds
# only its own folders, each a symbolic link to the folder in the sources (under BASE if given, else
# the repository root). The library's code and whatever links it include "<folder>/x.h" as from the
# repository root, and a header of a layer they do not link is not found: an include across the
# layers upwards fails to compile.
#
# Where no symbolic link can be made (Windows without the right to make them) the include folder is
# the repository root (or BASE) instead: the build works the same, but does not refuse such an
# include; the layer_includes test (cmake/checklayers.cmake) still does.
function(brisklane_include_root target)
  cmake_parse_arguments(arg "" "BASE" "FOLDERS" ${ARGN})
  set(sources ${PROJECT_SOURCE_DIR})
  if(arg_BASE)
    set(sources ${PROJECT_SOURCE_DIR}/${arg_BASE})
  endif()
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  foreach(folder IN LISTS arg_FOLDERS)
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${sources}/${folder} ${root}/${folder} RESULT result SYMBOLIC)
    if(NOT result EQUAL 0)
      message(STATUS "${target}: no symbolic link for ${folder} (${result}); it includes from ${sources}, "
                     "so an include across the layers is not refused while compiling")
      target_include_directories(${target} PUBLIC ${sources})
      return()
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
