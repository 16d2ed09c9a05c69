# Run at install time (cmake --install, cpack): writes the service units
# with the paths of the prefix being installed to.
#   UNIT_TEMPLATE, UNIT_OUT, UNIT_BIN_DIR, UNIT_DOC_DIR (relative to the prefix)
# A relative prefix (cmake --install --prefix inst) counts from the folder
# the install runs in, as the installed files do; systemd wants absolute paths.
get_filename_component(unit_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(ZENTROVA_BIN_DIR "${unit_prefix}/${UNIT_BIN_DIR}")
set(ZENTROVA_DOC_DIR "${unit_prefix}/${UNIT_DOC_DIR}")

# In a unit file "%" begins a specifier and "$" a variable, and a command
# line is split at blanks: a path that holds them is written escaped, and
# quoted where it holds blanks, so that a prefix such as "/opt/zen trova"
# starts its own program.
function(unit_escaped text out)
  string(REPLACE "%" "%%" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
set(program "${ZENTROVA_BIN_DIR}/zentrova-station")
string(REPLACE "\\" "\\\\" program "${program}")
string(REPLACE "\"" "\\\"" program "${program}")
string(REPLACE "$" "$$" program "${program}")
unit_escaped("${program}" program)
if(program MATCHES "[ \t\"\\]")
  set(program "\"${program}\"")
endif()
set(ZENTROVA_STATION_COMMAND "${program}")
# The README as a file: URL, its blanks and percent signs encoded.
set(url "${ZENTROVA_DOC_DIR}/README.md")
string(REPLACE "%" "%25" url "${url}")
string(REPLACE " " "%20" url "${url}")
unit_escaped("file://${url}" ZENTROVA_DOC_URL)

set(UNIT_TITLE "The station as a user service: systemctl --user enable --now zentrova-station")
set(UNIT_FOR "")
set(UNIT_USER "")
set(UNIT_ORDER "")
set(UNIT_WANTED_BY "default.target")
configure_file("${UNIT_TEMPLATE}" "${UNIT_OUT}/user/zentrova-station.service" @ONLY)

set(UNIT_TITLE "The station as a system service for user NAME: systemctl enable --now zentrova-station@NAME")
set(UNIT_FOR " of user %i")
set(UNIT_USER "User=%i\n")
set(UNIT_ORDER "Wants=network-online.target\nAfter=network-online.target local-fs.target\n")
set(UNIT_WANTED_BY "multi-user.target")
configure_file("${UNIT_TEMPLATE}" "${UNIT_OUT}/system/zentrova-station@.service" @ONLY)
