# What `cmake --install` puts in place and how `cpack -G DEB` packs it: the two
# programs, the desktop entry, the file types, the icons, the manual pages (made from
# each program's --help at build time) and the command line's bash completion.
include(GNUInstallDirs)

set(desktop_dir ${CMAKE_CURRENT_SOURCE_DIR}/desktop)

install(TARGETS lyrabox-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(LYRA_WIDGETS)
  install(TARGETS lyrabox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${desktop_dir}/lyrabox.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${desktop_dir}/lyrabox-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME lyrabox.xml)
  set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${desktop_dir}/icons/lyrabox.svg DESTINATION ${hicolor}/scalable/apps)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${desktop_dir}/icons/lyrabox-${size}.png DESTINATION ${hicolor}/${size}x${size}/apps
            RENAME lyrabox.png)
  endforeach()
  install(FILES ${desktop_dir}/icons/application-x-lyrabox-memo.svg ${desktop_dir}/icons/application-x-lyrabox-song.svg
          DESTINATION ${hicolor}/scalable/mimetypes)
endif()
install(FILES ${desktop_dir}/lyrabox-cli.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME lyrabox-cli)

# Manual pages from --help and --version, so they say what the programs say. Without
# help2man the build goes on and the pages are left out.
find_program(HELP2MAN help2man)
if(HELP2MAN AND NOT LYRA_FUZZ)
  set(man_pages)
  set(programs lyrabox-cli)
  if(LYRA_WIDGETS)
    list(APPEND programs lyrabox)
  endif()
  foreach(program ${programs})
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env LYRA_PROGRAM=$<TARGET_FILE:${program}>
              ${HELP2MAN} --no-info --section=1 --include=${desktop_dir}/${program}.h2m
              --output=${page} ${desktop_dir}/help-for-man.sh
      COMMAND gzip -n -9 -f ${page}
      DEPENDS ${program} ${desktop_dir}/${program}.h2m ${desktop_dir}/help-for-man.sh
      COMMENT "Manual page for ${program}"
      VERBATIM)
    list(APPEND man_pages ${page}.gz)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "No manual pages: help2man is missing, or this is a fuzz build")
endif()

# The Debian package: dependencies are read from the programs' libraries (shlibdeps).
set(CPACK_PACKAGE_NAME lyrabox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lyrabox")
set(CPACK_PACKAGE_CONTACT "Lyrabox developers <lyrabox@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for a handheld device's memo list, logo and song lists")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "editor for a handheld device's memo list, logo and song lists
 Lyrabox edits the data files of a small handheld device: its contact memo
 list (.mmo), its 96x96 logo picture (a 16-bit BMP cut from any picture) and
 its karaoke song lists (.kok). lyrabox-cli does the same file work from the
 command line: picture conversion, logo making, memo and song CSV export and
 import.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
