# Fails when a file includes a project header from a layer it may not use (docs/architecture.md):
#   cmake -DSOURCE_DIR=<repository> -P checklayers.cmake
# The build already refuses such an include where it can link each library's include folder
# (cmake/includeroot.cmake); this check also holds where it cannot, and lists every such line.
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<repository> -P checklayers.cmake")
endif()

# Folder (one or more) | what its files may include: folders, or single headers of another layer.
set(interfaces "interfaces/model/ interfaces/device/ interfaces/records/")
set(rules
  "core/|core/"
  "${interfaces}|core/ ${interfaces}"
  "interfaces/project/|core/ ${interfaces} interfaces/project/"
  "widgets/|core/ widgets/"
  "imagecut/|core/ widgets/ imagecut/"
  "osditem/|core/ ${interfaces} widgets/ osditem/ imagecut/osdimagecutdll.h"
  "textexport/|core/ widgets/ textexport/"
  "mainwindow/|core/ ${interfaces} interfaces/project/ widgets/ osditem/ textexport/ mainwindow/"
  "app/|core/ ${interfaces} widgets/ mainwindow/ app/"
  "cli/|core/ ${interfaces} interfaces/project/ cli/")

set(refused "")
set(checked 0)
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" rule "${rule}")
  list(GET rule 0 folders)
  list(GET rule 1 allowed)
  separate_arguments(folders)
  separate_arguments(allowed)
  foreach(folder IN LISTS folders)
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}*.h ${SOURCE_DIR}/${folder}*.cpp)
    foreach(file IN LISTS files)
      math(EXPR checked "${checked} + 1")
      file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
        # Generated headers of the file's own target (ui_*.h, *.moc) have no folder.
        if(NOT header MATCHES "/")
          continue()
        endif()
        set(ok FALSE)
        foreach(prefix IN LISTS allowed)
          string(FIND "${header}" "${prefix}" at)
          if(at EQUAL 0)
            set(ok TRUE)
          endif()
        endforeach()
        if(NOT ok)
          list(APPEND refused "${file}: ${header}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no source files under ${SOURCE_DIR}: the check cannot see them")
endif()
if(refused)
  string(REPLACE ";" "\n  " refused "${refused}")
  message(FATAL_ERROR "includes from a layer above or beside:\n  ${refused}")
endif()
message(STATUS "${checked} files include only from their own layer and those below")
