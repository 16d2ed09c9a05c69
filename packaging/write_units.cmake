# Run at install time (cmake --install, cpack): writes the service units
# with the paths of the prefix being installed to.
#   UNIT_TEMPLATE, UNIT_OUT, UNIT_BIN_DIR, UNIT_DOC_DIR (relative to the prefix)
set(ZENTROVA_BIN_DIR "${CMAKE_INSTALL_PREFIX}/${UNIT_BIN_DIR}")
set(ZENTROVA_DOC_DIR "${CMAKE_INSTALL_PREFIX}/${UNIT_DOC_DIR}")

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
