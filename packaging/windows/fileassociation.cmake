# The installer's file association for the OSD files: .pic and .logo open in the editor and show
# brisklane-file.ico. Windows knows .pic from other programs too, so the extension's default is
# taken only when no program holds it; the editor is always offered under "Open with". The
# uninstaller removes exactly what was added and gives a default back only when it is still ours.
# Included by packaging/CMakeLists.txt before CPack; CPACK_VERBATIM_VARIABLES is ON there, so the
# backslashes below reach the NSIS script as written. Untested: no Windows machine has run it.
set(brisklane_association_install "")
set(brisklane_association_uninstall "")
foreach(kind IN ITEMS pic logo)
  set(class "Brisklane.${kind}")
  if(kind STREQUAL "pic")
    set(description "Brisklane OSD picture file")
  else()
    set(description "Brisklane OSD logo file")
  endif()
  string(APPEND brisklane_association_install "
  WriteRegStr SHCTX 'Software\\Classes\\${class}' '' '${description}'
  WriteRegStr SHCTX 'Software\\Classes\\${class}\\DefaultIcon' '' '$INSTDIR\\bin\\brisklane-file.ico'
  WriteRegStr SHCTX 'Software\\Classes\\${class}\\shell\\open\\command' '' '\"$INSTDIR\\bin\\brisklane.exe\" \"%1\"'
  WriteRegStr SHCTX 'Software\\Classes\\.${kind}\\OpenWithProgids' '${class}' ''
  ReadRegStr $0 SHCTX 'Software\\Classes\\.${kind}' ''
  StrCmp $0 '' 0 +2
    WriteRegStr SHCTX 'Software\\Classes\\.${kind}' '' '${class}'
")
  string(APPEND brisklane_association_uninstall "
  ReadRegStr $0 SHCTX 'Software\\Classes\\.${kind}' ''
  StrCmp $0 '${class}' 0 +2
    DeleteRegValue SHCTX 'Software\\Classes\\.${kind}' ''
  DeleteRegValue SHCTX 'Software\\Classes\\.${kind}\\OpenWithProgids' '${class}'
  DeleteRegKey /ifempty SHCTX 'Software\\Classes\\.${kind}\\OpenWithProgids'
  DeleteRegKey /ifempty SHCTX 'Software\\Classes\\.${kind}'
  DeleteRegKey SHCTX 'Software\\Classes\\${class}'
")
endforeach()
# Explorer reads the associations again (SHCNE_ASSOCCHANGED).
set(brisklane_refresh "
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "${brisklane_association_install}${brisklane_refresh}")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "${brisklane_association_uninstall}${brisklane_refresh}")
