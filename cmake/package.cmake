# The Debian package, built with `cpack` in a build directory: the installed
# files under /usr, the libraries' packages found by dpkg-shlibdeps, and a
# General MIDI soundfont for the music.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kuzari)
set(CPACK_PACKAGE_VENDOR "The Kuzari for Linux developers")
set(CPACK_PACKAGE_CONTACT "Kuzari for Linux developers <kuzari@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "defend four bowls of rice from hungry little oni")
set(CPACK_PACKAGE_DESCRIPTION "Kuzari is a small single-player action game. A girl stands at the
left end of four lanes on a river boat's deck, each ending in a bowl of
rice. Little oni walk in from the right to eat it: hop between the lanes
and throw roasted beans to knock them back until the clock runs out.
The more rice is left, the better the rank.
.
Played full screen with the keyboard or a joystick, with sound effects,
Japanese voice clips and MIDI music.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The music is played by FluidSynth, which needs a soundfont; the game looks
# for TimGM6mb first, then the system's default General MIDI one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "timgm6mb-soundfont | fluid-soundfont-gm | musescore-general-soundfont-small | sf3-soundfont-gm")
# The game's messages (a sound device that cannot start, a missing file)
# come up in the desktop's own dialog when zenity is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS zenity)
include(CPack)

# Builds the package and checks its files, its control fields and that the
# game it installs starts from another directory and quits on Escape. Not in
# sanitizer builds, whose program would pull the sanitizers' libraries in.
if(KUZARI_TESTS AND NOT KUZARI_SANITIZE)
  find_program(DPKG_DEB dpkg-deb)
  find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(DPKG_DEB AND DPKG_SHLIBDEPS)
    add_test(NAME package_deb COMMAND ${PROJECT_SOURCE_DIR}/packaging/check_package.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(package_deb PROPERTIES TIMEOUT 300)
  else()
    message(STATUS "dpkg-deb or dpkg-shlibdeps missing (package dpkg-dev): no package test")
  endif()
endif()
