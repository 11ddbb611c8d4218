# Install rules and the Debian package (cpack -G DEB, see scripts/package.sh).
#
# The game finds its data by searching upward from the real folder of its
# executable, so the installed tree is laid out for that search:
#   <prefix>/lib/games/quorland/quorland   the executable
#   <prefix>/lib/games/quorland/assets     link to ../../../share/games/quorland/assets
#   <prefix>/share/games/quorland/assets/  settings, shaders, textures
#   <prefix>/games/quorland                link to ../lib/games/quorland/quorland
# The search starts in lib/games/quorland (the link on the PATH resolves to
# it) and finds every asset there through the one link. No installed folder
# holds the project-root marker, so it goes on up to the file-system root,
# and no folder above the executable holds an assets/ of its own: every
# file is found exactly once. Links are relative, so the tree also works
# unpacked anywhere (dpkg-deb -x into a scratch folder, --prefix).
#
# Installing builds nothing beyond what it installs: scripts/package.sh
# builds the game target alone, not the tests and benchmarks of "all".
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(QUORLAND_INSTALL_LIBDIR lib/games/quorland)
set(QUORLAND_INSTALL_DATADIR share/games/quorland)
set(QUORLAND_INSTALL_DOCDIR share/doc/quorland)
set(QUORLAND_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS quorland RUNTIME DESTINATION ${QUORLAND_INSTALL_LIBDIR})
# A stripped install (cpack strips) also drops the compiler's notes, as
# Debian's own packaging tools do.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUORLAND_INSTALL_LIBDIR}/quorland\"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
")
install(DIRECTORY assets/ DESTINATION ${QUORLAND_INSTALL_DATADIR}/assets)
install(FILES ${QUORLAND_PACKAGING_DIR}/org.quorland.quorland.desktop
        DESTINATION share/applications)
install(FILES ${QUORLAND_PACKAGING_DIR}/org.quorland.quorland.metainfo.xml
        DESTINATION share/metainfo)
install(FILES ${QUORLAND_PACKAGING_DIR}/copyright DESTINATION ${QUORLAND_INSTALL_DOCDIR})
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${QUORLAND_PACKAGING_DIR}/icons/quorland-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME quorland.png)
endforeach()

# Links, and the manual page and changelog compressed the way Debian wants
# them (gzip -9n: no name or time stamp, so the bytes are reproducible).
install(CODE [[
  set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  file(MAKE_DIRECTORY "${root}/games" "${root}/share/man/man6")
  file(CREATE_LINK ../../../share/games/quorland/assets
       "${root}/lib/games/quorland/assets" SYMBOLIC)
  file(CREATE_LINK ../lib/games/quorland/quorland "${root}/games/quorland" SYMBOLIC)
]])
foreach(pair "quorland.6;share/man/man6/quorland.6.gz"
             "changelog;share/doc/quorland/changelog.gz")
  list(GET pair 0 source)
  list(GET pair 1 target)
  install(CODE "
    execute_process(COMMAND gzip -9n -c \"${QUORLAND_PACKAGING_DIR}/${source}\"
      OUTPUT_FILE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${target}\"
      COMMAND_ERROR_IS_FATAL ANY)
    file(CHMOD \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${target}\"
      PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  ")
endforeach()

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE QUORLAND_DEB_ARCH
  OUTPUT_STRIP_TRAILING_WHITESPACE)
# Where scripts/package.sh leaves the package.
set(QUORLAND_DEB_FILE ${CMAKE_BINARY_DIR}/quorland_${PROJECT_VERSION}_${QUORLAND_DEB_ARCH}.deb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorland)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "QUORLAND developers <quorland@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hop a yellow cube across grass, rivers and logs")
set(CPACK_PACKAGE_DESCRIPTION
    "A small 3D arcade game: a yellow cube hops one square at a time across
200 generated rows of grass (with trees in the way), rivers (ride the
drifting logs, or sink) and grey ground. Every new furthest row is worth one
point. It needs OpenGL 4.3.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${QUORLAND_DEB_ARCH})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
