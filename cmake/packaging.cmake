# Installation and the Debian package.
#
#   cmake --install BUILD [--prefix /usr]      the programs and the service units
#   (cd BUILD && cpack -G DEB)                 zentrova_<version>_<arch>.deb with the same files
#
# zentrova-station finds the e-mail sender beside its own program file
# (/proc/self/exe, links resolved), so both live in libexec/zentrova and
# bin/zentrova-station is a link to it. The acquisition-controller
# simulator keeps its name TC.exe there (the station knows the controller
# by that process name) and is zentrova-tc-simulator in bin.

include(GNUInstallDirs)
set(ZENTROVA_DOC_DIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/zentrova")

set(ZENTROVA_PROGRAM_DIR "${CMAKE_INSTALL_LIBEXECDIR}/zentrova")
install(TARGETS zentrova-station email_sender tc_simulator RUNTIME DESTINATION "${ZENTROVA_PROGRAM_DIR}")
install(TARGETS zentrova-seg2 RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The links in bin, made once here and installed as links.
file(RELATIVE_PATH program_from_bin "/root/${CMAKE_INSTALL_BINDIR}" "/root/${ZENTROVA_PROGRAM_DIR}")
set(link_dir "${CMAKE_BINARY_DIR}/install-links")
file(MAKE_DIRECTORY "${link_dir}")
file(CREATE_LINK "${program_from_bin}/zentrova-station" "${link_dir}/zentrova-station" SYMBOLIC)
file(CREATE_LINK "${program_from_bin}/TC.exe" "${link_dir}/zentrova-tc-simulator" SYMBOLIC)
install(FILES "${link_dir}/zentrova-station" "${link_dir}/zentrova-tc-simulator" DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The service units: one for a user's own service manager, and a template
# for the system's, whose instance names the user (zentrova-station@op).
# They are written when installing, with the paths of that prefix.
install(CODE "
  set(UNIT_TEMPLATE \"${CMAKE_SOURCE_DIR}/packaging/zentrova-station.service.in\")
  set(UNIT_OUT \"${CMAKE_BINARY_DIR}/units\")
  set(UNIT_BIN_DIR \"${CMAKE_INSTALL_BINDIR}\")
  set(UNIT_DOC_DIR \"${ZENTROVA_DOC_DIR}\")
  include(\"${CMAKE_SOURCE_DIR}/packaging/write_units.cmake\")
")
install(FILES "${CMAKE_BINARY_DIR}/units/user/zentrova-station.service" DESTINATION lib/systemd/user)
install(FILES "${CMAKE_BINARY_DIR}/units/system/zentrova-station@.service" DESTINATION lib/systemd/system)
install(FILES README.md DESTINATION "${ZENTROVA_DOC_DIR}")

set(CPACK_PACKAGE_NAME zentrova)
set(CPACK_PACKAGE_VENDOR "Kalvane Applications")
set(CPACK_PACKAGE_CONTACT "Zentrova station software <zentrova@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "unattended seismograph station: files, joins, detects and reports records")
set(CPACK_PACKAGE_DESCRIPTION "Zentrova watches the folder where the acquisition program writes its seismic
records (SEG-2 and the three-component format), files every record into a dated
hour tree, joins finished hours, detects events and reports by e-mail and web form.
Holds zentrova-station (with a systemd unit), zentrova-seg2 and zentrova-tc-simulator.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "systemd")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xvfb")
include(CPack)

if(ZENTROVA_TESTS)
  add_test(NAME Package.HoldsWhatTheInstallDoes
    COMMAND bash "${CMAKE_SOURCE_DIR}/packaging/package_test.sh" "${CMAKE_BINARY_DIR}")
  add_test(NAME Package.UnitsOfAnOddPrefix COMMAND bash "${CMAKE_SOURCE_DIR}/packaging/prefix_test.sh" "${CMAKE_BINARY_DIR}")
  # Both install, and the install writes the units into the build tree first.
  set_tests_properties(Package.HoldsWhatTheInstallDoes Package.UnitsOfAnOddPrefix PROPERTIES
    TIMEOUT 300 RESOURCE_LOCK zentrova-install)
  add_test(NAME Scripts.DepsIsQuietUnlessItInstalls COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/deps_test.sh")
endif()
