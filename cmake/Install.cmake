# Delivery. On Linux `cmake --install` puts the three programs in bin/, the desktop entry and its
# icon where desktops look for them, and the man page of kq904-cli; CPack turns the same install
# into a Debian package (make package). The package depends on Debian's Qt 6 runtime libraries,
# the ones the programs link: libqt6core6, libqt6gui6 (with the platform plugins), libqt6widgets6,
# libqt6serialport6 and libqt6printsupport6.
# On Windows it installs kq904.exe and kq904-cli.exe with the Qt libraries and plugins that
# windeployqt puts beside them, and CPack makes a ZIP of that folder.
include(GNUInstallDirs)

set(_programs)
foreach(target kq904_program kq904_cli_program kq904_sim_program)
  if(TARGET ${target})
    list(APPEND _programs ${target})
  endif()
endforeach()
install(TARGETS ${_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_PACKAGE_NAME kq904)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KQ904 Programmer")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for the KQ904 two-way radio")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)

if(WIN32)
  get_target_property(_qmake Qt6::qmake IMPORTED_LOCATION)
  get_filename_component(_qt_bin ${_qmake} DIRECTORY)
  find_program(KQ904_WINDEPLOYQT windeployqt HINTS ${_qt_bin} REQUIRED)
  foreach(program kq904 kq904-cli)
    install(CODE "execute_process(COMMAND \"${KQ904_WINDEPLOYQT}\" --no-translations
      \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}.exe\" COMMAND_ERROR_IS_FATAL ANY)")
  endforeach()
  set(CPACK_GENERATOR ZIP)
  include(CPack)
  return()
endif()

install(FILES ${CMAKE_SOURCE_DIR}/packaging/kq904.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kq904.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Man pages are installed compressed, as Debian keeps them; the page names the version.
configure_file(${CMAKE_SOURCE_DIR}/packaging/kq904-cli.1.in ${CMAKE_BINARY_DIR}/packaging/kq904-cli.1
  @ONLY)
set(_man_page ${CMAKE_BINARY_DIR}/packaging/kq904-cli.1.gz)
add_custom_command(OUTPUT ${_man_page}
  COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/packaging/kq904-cli.1 > ${_man_page}
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/kq904-cli.1
  COMMENT "Compressing the man page of kq904-cli")
add_custom_target(kq904_man_page ALL DEPENDS ${_man_page})
install(FILES ${_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Prepares the configuration of KQ904 hand-held FM radios (channels, general settings, code\n"
  "functions, kill feature, factory alignment), keeps it in .set files, prints it, and writes\n"
  "it into a radio or reads it back over a serial cable. Contains the desktop program kq904,\n"
  "the command-line tool kq904-cli and the simulated radio kq904-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(KQ904_PACKAGE_MAINTAINER "KQ904 Programmer developers <kq904@localhost>"
  CACHE STRING "Maintainer named in the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KQ904_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6printsupport6 (>= 6.4), libstdc++6 (>= 12), libc6 (>= 2.36)")
include(CPack)
