# What `cmake --install` puts where (GNU layout) and the Debian package CPack makes of it:
#   bin/shardfall
#   share/shardfall/            Shardfall.pxa, config.cfg, Shardfall/about.html
#   share/applications/         the desktop entry
#   share/icons/hicolor/*/apps/ the icon from 16 to 256 pixels
#   share/metainfo/             AppStream metadata
#   share/man/man6/shardfall.6.gz
#   share/doc/shardfall/        copyright, changelog.gz
# The game finds its data relative to its own path (bin/../share/shardfall), so the tree
# works wherever it is unpacked; the configured prefix is the last place it looks.
# The Debian package is built with CMAKE_INSTALL_BINDIR=games (Debian keeps games in
# /usr/games; scripts/lib/package.sh sets it).
include(GNUInstallDirs)

set(SF_APP_ID example.shardfall.Shardfall)
set(SF_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/shardfall)
set(SF_INSTALL_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/shardfall)
file(RELATIVE_PATH SF_INSTALL_DATA_RELATIVE ${CMAKE_INSTALL_FULL_BINDIR} ${SF_INSTALL_DATA_DIR})
target_compile_definitions(shardfall PRIVATE SF_INSTALL_DATA_DIR="${SF_INSTALL_DATA_DIR}"
                                             SF_INSTALL_DATA_RELATIVE="${SF_INSTALL_DATA_RELATIVE}")

set(dist_dir ${CMAKE_SOURCE_DIR}/dist/linux)
set(dist_out ${CMAKE_BINARY_DIR}/dist)
configure_file(${dist_dir}/${SF_APP_ID}.metainfo.xml.in ${dist_out}/${SF_APP_ID}.metainfo.xml @ONLY)
configure_file(${dist_dir}/shardfall.6.in ${dist_out}/shardfall.6 @ONLY)
# Debian wants manual pages and the changelog compressed, without a time stamp inside.
add_custom_command(
  OUTPUT ${dist_out}/shardfall.6.gz
  COMMAND sh -c "gzip -9nc '${dist_out}/shardfall.6' > '${dist_out}/shardfall.6.gz'"
  DEPENDS ${dist_out}/shardfall.6
  VERBATIM)
execute_process(COMMAND date -u -R -d "${SF_RELEASE_DATE} 12:00" OUTPUT_VARIABLE SF_RELEASE_DATE_RFC2822
                OUTPUT_STRIP_TRAILING_WHITESPACE)
file(WRITE ${dist_out}/changelog.in
  "shardfall (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
  "  * Release ${PROJECT_VERSION}.\n\n"
  " -- Shardfall maintainers <maintainers@shardfall.example>  ${SF_RELEASE_DATE_RFC2822}\n")
configure_file(${dist_out}/changelog.in ${dist_out}/changelog COPYONLY)
add_custom_command(
  OUTPUT ${dist_out}/changelog.gz
  COMMAND sh -c "gzip -9nc '${dist_out}/changelog' > '${dist_out}/changelog.gz'"
  DEPENDS ${dist_out}/changelog
  VERBATIM)
add_custom_target(dist_files ALL DEPENDS ${dist_out}/shardfall.6.gz ${dist_out}/changelog.gz)

install(TARGETS shardfall RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/game/Shardfall.pxa ${CMAKE_SOURCE_DIR}/content/config.cfg
        DESTINATION ${SF_DATA_INSTALL_DIR})
install(FILES ${CMAKE_BINARY_DIR}/game/Shardfall/about.html DESTINATION ${SF_DATA_INSTALL_DIR}/Shardfall)
install(FILES ${dist_dir}/${SF_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist_out}/${SF_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${SF_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/icons/shardfall-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME shardfall.png)
endforeach()
install(FILES ${dist_out}/shardfall.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${dist_dir}/copyright ${dist_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/shardfall)

# The Debian package: shardfall_<version>_amd64.deb, its files the install tree above.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME shardfall)
set(CPACK_PACKAGE_VENDOR Quillmoor)
set(CPACK_PACKAGE_CONTACT "Shardfall maintainers <maintainers@shardfall.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game with diamonds of two triangles")
set(CPACK_PACKAGE_DESCRIPTION
  "Diamonds made of two coloured triangles fall into a field of interlocking\ntriangles. Steer and turn them with the mouse or the keyboard; every group\nof four or more triangles of one colour vanishes, broken diamonds grow whole\nand chains follow. Three difficulties and a high-score table.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://shardfall.example/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links (SDL2, OpenAL, the C++ runtime) from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
