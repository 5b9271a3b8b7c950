# Makes a manual page from what a program prints for --help, so that the page cannot say other
# than the program does. Run at build time by packaging/CMakeLists.txt:
#   cmake -DPROGRAM=exe -DNAME=brisklane-cli -DSUMMARY="one line" -DVERSION=1.0.0 -DDATE=2026-12-09
#         [-DCOMMANDS=info,check,pack,extract] [-DSEE_ALSO=brisklane]
#         [-DDOCDIR=/usr/share/doc/brisklane] -DOUTPUT=name.1 -P manpage.cmake
# COMMANDS: each one's "PROGRAM COMMAND --help" becomes a subsection.
# With -DGZIP=path the page is written compressed as OUTPUT.gz, without name or time stamp, as
# Debian installs manual pages; otherwise as OUTPUT.
cmake_minimum_required(VERSION 3.19)

foreach(required PROGRAM NAME SUMMARY VERSION DATE OUTPUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "manpage.cmake: -D${required}=... missing")
  endif()
endforeach()

# A home and configuration folder of its own: asking for help must not touch the builder's.
set(scratch "${OUTPUT}.home")
file(REMOVE_RECURSE "${scratch}")
file(MAKE_DIRECTORY "${scratch}/config" "${scratch}/runtime")
file(CHMOD "${scratch}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# Runs PROGRAM with the arguments; text_var gets what it printed when it answered with a usage text.
function(help_of text_var)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen HOME=${scratch}
            XDG_CONFIG_HOME=${scratch}/config XDG_RUNTIME_DIR=${scratch}/runtime LC_ALL=en_US.UTF-8
            "${PROGRAM}" ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_QUIET TIMEOUT 60)
  if(result EQUAL 0 AND output MATCHES "^Usage: ")
    set(${text_var} "${output}" PARENT_SCOPE)
  else()
    set(${text_var} "" PARENT_SCOPE)
  endif()
endfunction()

# Text for roff: backslashes, minus signs, and a leading dot or quote that would read as a request.
function(roff_escape out_var text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REPLACE "…" "..." text "${text}")
  if(text MATCHES "^[.']")
    set(text "\\&${text}")
  endif()
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# The help text in roff. Headings ("Options:") become sections (top) or bold lines (a command's
# subsection); "  term  description" lines become tagged paragraphs, deeper-indented lines continue
# them; the first "Usage:" line is left to the caller.
function(help_to_roff out_var text top)
  # CMake lists split at ';' and keep '[...]' together: put both out of the way while splitting.
  string(REPLACE ";" "@SEMICOLON@" text "${text}")
  string(REPLACE "[" "@OPEN@" text "${text}")
  string(REPLACE "]" "@CLOSE@" text "${text}")
  string(REGEX REPLACE "\n+$" "" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  list(REMOVE_AT lines 0)
  set(roff "")
  set(in_item FALSE)
  foreach(line IN LISTS lines)
    string(REPLACE "@SEMICOLON@" ";" line "${line}")
    string(REPLACE "@OPEN@" "[" line "${line}")
    string(REPLACE "@CLOSE@" "]" line "${line}")
    if(line STREQUAL "")
      string(APPEND roff ".PP\n")
      set(in_item FALSE)
    elseif(line MATCHES "^([^ ].*):$")
      set(heading "${CMAKE_MATCH_1}")
      if(top)
        string(TOUPPER "${heading}" heading)
        string(APPEND roff ".SH ${heading}\n")
      else()
        string(APPEND roff ".PP\n.B ${heading}:\n")
      endif()
      set(in_item FALSE)
    elseif(line MATCHES "^  ([^ ]([^ ]| [^ ])*)  +([^ ].*)$")
      roff_escape(term "${CMAKE_MATCH_1}")
      roff_escape(description "${CMAKE_MATCH_3}")
      string(APPEND roff ".TP\n\\fB${term}\\fR\n${description}\n")
      set(in_item TRUE)
    elseif(line MATCHES "^  +([^ ].*)$" AND in_item)
      roff_escape(description "${CMAKE_MATCH_1}")
      string(APPEND roff "${description}\n")
    else()
      string(STRIP "${line}" line)
      roff_escape(line "${line}")
      string(APPEND roff "${line}\n")
      set(in_item FALSE)
    endif()
  endforeach()
  # Paragraph breaks right before a heading or a tagged paragraph say nothing.
  string(REGEX REPLACE "\\.PP\n(\\.SH|\\.TP|\\.PP)" "\\1" roff "${roff}")
  set(${out_var} "${roff}" PARENT_SCOPE)
endfunction()

# What follows "Usage: PROGRAM" on the first line.
function(synopsis_of out_var text)
  string(REGEX MATCH "^Usage: [^ \n]+ ?([^\n]*)" ignored "${text}")
  roff_escape(arguments "${CMAKE_MATCH_1}")
  set(${out_var} "${arguments}" PARENT_SCOPE)
endfunction()

help_of(help --help)
if(help STREQUAL "")
  message(FATAL_ERROR "manpage.cmake: ${PROGRAM} --help did not print a usage text")
endif()

string(TOUPPER "${NAME}" title)
roff_escape(title "${title}")
roff_escape(name "${NAME}")
roff_escape(summary "${SUMMARY}")
synopsis_of(synopsis "${help}")
help_to_roff(body "${help}" TRUE)
set(page ".TH ${title} 1 \"${DATE}\" \"${name} ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\n${name} \\- ${summary}\n")
string(APPEND page ".SH SYNOPSIS\n.B ${name}\n${synopsis}\n")
string(APPEND page ".SH DESCRIPTION\n${body}")

if(DEFINED COMMANDS AND NOT COMMANDS STREQUAL "")
  string(REPLACE "," ";" commands "${COMMANDS}")
  string(APPEND page ".SH \"COMMANDS IN DETAIL\"\n")
  foreach(command IN LISTS commands)
    help_of(command_help ${command} --help)
    if(command_help STREQUAL "")
      message(FATAL_ERROR "manpage.cmake: ${PROGRAM} ${command} --help did not print a usage text")
    endif()
    synopsis_of(command_synopsis "${command_help}")
    help_to_roff(command_body "${command_help}" FALSE)
    string(APPEND page ".SS ${command}\n.B ${name}\n${command_synopsis}\n.PP\n${command_body}")
  endforeach()
endif()

if(DEFINED DOCDIR)
  roff_escape(docdir "${DOCDIR}")
  string(APPEND page ".SH FILES\n.TP\n.I ${docdir}/README.md\nThe user's guide.\n")
  string(APPEND page ".TP\n.I ${docdir}/cli\\-manifest.md\nThe manifest that \\fBbrisklane\\-cli pack\\fR reads.\n")
endif()
if(DEFINED SEE_ALSO)
  roff_escape(see_also "${SEE_ALSO}")
  string(APPEND page ".SH \"SEE ALSO\"\n.BR ${see_also} (1)\n")
endif()
string(REGEX REPLACE "\n\\.PP\n(\\.S[HS])" "\n\\1" page "${page}")

file(REMOVE_RECURSE "${scratch}")
if(GZIP)
  file(WRITE "${OUTPUT}.tmp" "${page}")
  execute_process(COMMAND "${GZIP}" -9 -n -c "${OUTPUT}.tmp" OUTPUT_FILE "${OUTPUT}.gz" RESULT_VARIABLE result)
  file(REMOVE "${OUTPUT}.tmp")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "manpage.cmake: gzip failed on ${OUTPUT}")
  endif()
else()
  file(WRITE "${OUTPUT}" "${page}")
endif()
