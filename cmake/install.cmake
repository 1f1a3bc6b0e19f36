# Desktop integration (menu entry, .mvn file type, icons, man page, examples) and the Debian
# package: `cpack -G DEB` in the build directory.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()

set(MAVORIN_PKG_DIR ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(MAVORIN_ICON_SIZES 16 24 32 48 64 128 256)

# The man page is made from the built program's --help, so it follows every change of the text.
find_program(MAVORIN_AWK NAMES awk mawk gawk)
find_program(MAVORIN_GZIP gzip)
if(MAVORIN_AWK AND MAVORIN_GZIP)
  string(TIMESTAMP MAVORIN_MAN_DATE "%Y-%m-%d" UTC)
  set(MAVORIN_MAN_DIR ${CMAKE_CURRENT_BINARY_DIR}/man)
  file(MAKE_DIRECTORY ${MAVORIN_MAN_DIR})
  add_custom_command(
    OUTPUT ${MAVORIN_MAN_DIR}/mavorin.1 ${MAVORIN_MAN_DIR}/mavorin.1.gz
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:mavorin> -DAWK=${MAVORIN_AWK}
            -DGZIP=${MAVORIN_GZIP} -DSCRIPT=${MAVORIN_PKG_DIR}/help2man.awk
            -DVERSION=${PROJECT_VERSION} -DDATE=${MAVORIN_MAN_DATE} -DOUT_DIR=${MAVORIN_MAN_DIR}
            -P ${MAVORIN_PKG_DIR}/manpage.cmake
    DEPENDS mavorin ${MAVORIN_PKG_DIR}/help2man.awk ${MAVORIN_PKG_DIR}/manpage.cmake
    COMMENT "Man page from mavorin --help"
    VERBATIM)
  add_custom_target(mavorin_manpage ALL DEPENDS ${MAVORIN_MAN_DIR}/mavorin.1.gz)
  install(FILES ${MAVORIN_MAN_DIR}/mavorin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "awk or gzip not found: no man page")
endif()

install(FILES ${MAVORIN_PKG_DIR}/mavorin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MAVORIN_PKG_DIR}/mavorin.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
set(MAVORIN_HICOLOR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${MAVORIN_PKG_DIR}/icons/mavorin.svg DESTINATION ${MAVORIN_HICOLOR}/scalable/apps)
# The macro files get the program's picture too (the name the file type implies).
install(FILES ${MAVORIN_PKG_DIR}/icons/mavorin.svg DESTINATION ${MAVORIN_HICOLOR}/scalable/mimetypes
        RENAME application-x-mavorin-macro.svg)
foreach(size ${MAVORIN_ICON_SIZES})
  install(FILES ${MAVORIN_PKG_DIR}/icons/mavorin-${size}.png
          DESTINATION ${MAVORIN_HICOLOR}/${size}x${size}/apps RENAME mavorin.png)
  install(FILES ${MAVORIN_PKG_DIR}/icons/mavorin-${size}.png
          DESTINATION ${MAVORIN_HICOLOR}/${size}x${size}/mimetypes
          RENAME application-x-mavorin-macro.png)
endforeach()
# Debian wants the licence and the history beside the documentation, the history compressed.
install(FILES ${MAVORIN_PKG_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(MAVORIN_GZIP)
  add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    COMMAND ${MAVORIN_GZIP} -9nc ${MAVORIN_PKG_DIR}/changelog > ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    DEPENDS ${MAVORIN_PKG_DIR}/changelog)
  add_custom_target(mavorin_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
        FILES_MATCHING PATTERN "*.mvn")

# Quick checks of what gets installed; the package itself is checked by scripts/package-check.sh.
if(MAVORIN_TESTS)
  set(MAVORIN_PKG_TESTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/packaging)
  add_test(NAME packaging_examples
           COMMAND bash ${MAVORIN_PKG_TESTS}/examples.sh $<TARGET_FILE:mavorin>
                   ${CMAKE_CURRENT_SOURCE_DIR}/examples)
  add_test(NAME packaging_command_line
           COMMAND bash ${MAVORIN_PKG_TESTS}/command_line.sh $<TARGET_FILE:mavorin>)
  if(MAVORIN_AWK AND MAVORIN_GZIP)
    add_test(NAME packaging_manpage
             COMMAND bash ${MAVORIN_PKG_TESTS}/manpage.sh $<TARGET_FILE:mavorin>
                     ${MAVORIN_MAN_DIR}/mavorin.1 ${MAVORIN_PKG_DIR}/help2man.awk)
  endif()
  add_test(NAME packaging_staged_install
           COMMAND bash ${MAVORIN_PKG_TESTS}/staged_install.sh ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(packaging_examples packaging_command_line packaging_staged_install
                       PROPERTIES LABELS packaging SKIP_RETURN_CODE 77)
  if(TARGET mavorin_manpage)
    set_tests_properties(packaging_manpage PROPERTIES LABELS packaging SKIP_RETURN_CODE 77)
  endif()
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mavorin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Mavorin")
set(CPACK_PACKAGE_CONTACT "Mavorin maintainers <maintainers@mavorin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop macro program: pointer, clicks, keystrokes, screenshots")
set(CPACK_PACKAGE_DESCRIPTION
    "Mavorin builds macros in one window and plays them back on the X11 desktop:
random waits, pointer moves, clicks, typed text with special keys, a counter on
the clipboard, program launches, PC commands, CD doors, screenshots and waiting
for pixels to change. Global hot keys start and stop a run. Macros are .mvn
files; mavorin --dry-run shows what a macro would do without doing it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# xdg-open opens the logo's web page; the triggers of the other two register file type and icon.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, desktop-file-utils")
find_program(MAVORIN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(MAVORIN_DPKG_SHLIBDEPS)
  # Exact, versioned dependencies from the libraries the binary links.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Qt loads its Wayland platform plugin at run time: no library link shows it.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-wayland")
elseif(MAVORIN_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libqt6core6, libqt6gui6, libqt6widgets6, libx11-6, libxext6, libxtst6, libxi6, libturbojpeg0, qt6-translations-l10n, libwayland-client0, libxkbcommon0, qt6-wayland")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
endif()
include(CPack)
