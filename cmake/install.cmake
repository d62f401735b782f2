# Installing Kuzari: the game and kuzari-replay, their data, a launcher for
# each on the PATH, the desktop entry, the icons and the manual pages, all
# under CMAKE_INSTALL_PREFIX.
include(GNUInstallDirs)

set(KUZARI_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/kuzari)
set(KUZARI_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/kuzari)

# The desktop's icons, drawn from the same art as the window icon.
add_executable(kuzari-icongen tools/icongen/icongen_main.cpp)
target_include_directories(kuzari-icongen PRIVATE src)
target_link_libraries(kuzari-icongen PRIVATE kuzari_png)
set(KUZARI_ICON_SIZES 32 48 64 128 256)
set(icongen_arguments)
set(icon_files)
foreach(size IN LISTS KUZARI_ICON_SIZES)
  set(icon ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/kuzari.png)
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size})
  list(APPEND icongen_arguments ${size} ${icon})
  list(APPEND icon_files ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# And one for any size: the art's pixels as squares.
set(icon ${CMAKE_CURRENT_BINARY_DIR}/icons/scalable/kuzari.svg)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/icons/scalable)
list(APPEND icongen_arguments svg ${icon})
list(APPEND icon_files ${icon})
install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
add_custom_command(OUTPUT ${icon_files}
  COMMAND kuzari-icongen ${icongen_arguments}
  DEPENDS kuzari-icongen
  COMMENT "Drawing the desktop's icons")

# Manual pages are kept compressed, as Debian wants them.
set(man_page ${CMAKE_CURRENT_BINARY_DIR}/kuzari.6.gz)
set(replay_man_page ${CMAKE_CURRENT_BINARY_DIR}/kuzari-replay.1.gz)
add_custom_command(OUTPUT ${man_page}
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/man/kuzari.6 > ${man_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/man/kuzari.6
  COMMENT "Compressing the manual page")
add_custom_command(OUTPUT ${replay_man_page}
  COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/man/kuzari-replay.1 > ${replay_man_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/man/kuzari-replay.1
  COMMENT "Compressing kuzari-replay's manual page")
add_custom_target(kuzari_desktop_files ALL DEPENDS ${icon_files} ${man_page} ${replay_man_page})

if(NOT TARGET kuzari)
  return()  # the headless build: the icons for the tests, nothing to install
endif()

# The launcher finds the program and the data relative to its own place.
file(RELATIVE_PATH KUZARI_BIN_TO_DATA ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/kuzari)
file(RELATIVE_PATH KUZARI_BIN_TO_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_LIBEXECDIR}/kuzari)
foreach(KUZARI_PROGRAM kuzari kuzari-replay)
  configure_file(packaging/kuzari.in ${CMAKE_CURRENT_BINARY_DIR}/launcher/${KUZARI_PROGRAM} @ONLY)
  install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/launcher/${KUZARI_PROGRAM} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(TARGETS kuzari kuzari-replay RUNTIME DESTINATION ${KUZARI_INSTALL_PROGRAM_DIR})
install(DIRECTORY data/bitmap data/wave data/voice data/midi data/lang data/font DESTINATION ${KUZARI_INSTALL_DATA_DIR})
install(FILES packaging/kuzari.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/kuzari.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
  RENAME io.github.kuzari.Kuzari.metainfo.xml)
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${replay_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
