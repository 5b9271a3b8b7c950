# Run by `cmake --install` before it puts any file in place (packaging/CMakeLists.txt): notes which
# of the install's folders do not exist yet, so that the uninstall target removes the folders the
# install made and no others. Expects brisklane_folders (relative to the prefix) and
# brisklane_record (the list, kept across installs until an uninstall).
# CPack stages the package in the build folder and writes install_manifest.txt for that staging:
# say so, so that the uninstall target does not take the package's paths for an install's.
if("$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}" MATCHES "/_CPack_Packages/")
  file(WRITE "${brisklane_record}" "#staged\n")
  return()
endif()
set(created "")
if(EXISTS "${brisklane_record}")
  file(STRINGS "${brisklane_record}" created)
  list(REMOVE_ITEM created "#staged")
endif()
foreach(folder IN LISTS brisklane_folders)
  set(path "${CMAKE_INSTALL_PREFIX}/${folder}")
  while(NOT IS_DIRECTORY "$ENV{DESTDIR}${path}")
    list(APPEND created "${path}")
    get_filename_component(parent "${path}" DIRECTORY)
    if(parent STREQUAL path)
      break()
    endif()
    set(path "${parent}")
  endwhile()
endforeach()
list(REMOVE_DUPLICATES created)
string(REPLACE ";" "\n" text "${created}")
file(WRITE "${brisklane_record}" "${text}\n")
