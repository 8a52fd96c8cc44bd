# Installation (cmake --install, and the Debian package made from it by
# scripts/package). The layout follows the usual one for desktop programs:
#
#   bin/candelux, bin/candelux-cli
#   lib/candelux/programs/   the picture programs (private, not on PATH)
#   lib/candelux/camera/     the camera SDK stand-in, found through the
#                            executables' run path; a private library that
#                            the dynamic linker's cache need not know
#   share/candelux/          the icon and the sample pictures
#   share/applications, share/icons/hicolor, share/mime/packages,
#   share/man/man1, share/bash-completion/completions
#
# Nothing refers to the build tree or the prefix: the executables find the
# programs and the library relative to themselves, so an installation can be
# moved.
include(GNUInstallDirs)

install(TARGETS candelux candelux-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS ${CANDELUX_PROGRAM_TARGETS} RUNTIME DESTINATION lib/candelux/programs)
if(TARGET EDSDK)
  install(TARGETS EDSDK LIBRARY DESTINATION lib/candelux/camera)
endif()

set(CANDELUX_DATA ${CMAKE_INSTALL_DATADIR}/candelux)
install(FILES ${CMAKE_SOURCE_DIR}/resources/candelux.png DESTINATION ${CANDELUX_DATA})

# The sample pictures that scripts/run opens, made at build time.
set(CANDELUX_SAMPLES ${CMAKE_BINARY_DIR}/share/candelux/samples)
add_custom_command(OUTPUT ${CANDELUX_SAMPLES}/chart.hdr ${CANDELUX_SAMPLES}/fisheye.hdr
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CANDELUX_SAMPLES}
  COMMAND make_samples ${CANDELUX_SAMPLES}
  DEPENDS make_samples)
add_custom_target(samples ALL DEPENDS ${CANDELUX_SAMPLES}/chart.hdr)
install(FILES ${CANDELUX_SAMPLES}/chart.hdr ${CANDELUX_SAMPLES}/fisheye.hdr DESTINATION ${CANDELUX_DATA}/samples)

install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/candelux.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/candelux-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME candelux.xml)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/${size}/candelux.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages and the changelog go compressed, as Debian's policy asks.
set(CANDELUX_COMPRESSED "")
foreach(file share/man/man1/candelux.1 share/man/man1/candelux-cli.1 resources/debian/changelog)
  if(file MATCHES "^resources/")
    set(source ${CMAKE_SOURCE_DIR}/${file})
    get_filename_component(name ${file} NAME)
    set(target ${CMAKE_BINARY_DIR}/share/doc/${name}.gz)
  else()
    set(source ${CMAKE_BINARY_DIR}/${file})
    set(target ${CMAKE_BINARY_DIR}/${file}.gz)
  endif()
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/doc
    COMMAND gzip -9n -c ${source} > ${target}
    DEPENDS ${source})
  list(APPEND CANDELUX_COMPRESSED ${target})
endforeach()
add_custom_target(compressed_documents ALL DEPENDS ${CANDELUX_COMPRESSED})
add_dependencies(compressed_documents manuals)
install(FILES ${CMAKE_BINARY_DIR}/share/man/man1/candelux.1.gz ${CMAKE_BINARY_DIR}/share/man/man1/candelux-cli.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/share/doc/changelog.gz ${CMAKE_SOURCE_DIR}/resources/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_BINARY_DIR}/share/man/man1/candelux-cli.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME candelux-cli)

# The Debian package: cpack -G DEB in a build configured with
# CMAKE_INSTALL_PREFIX=/usr (scripts/package).
set(CPACK_PACKAGE_NAME candelux)
set(CPACK_PACKAGE_VENDOR "candelux developers")
set(CPACK_PACKAGE_CONTACT "candelux developers <developers@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "luminance analysis of high-dynamic-range Radiance pictures")
set(CPACK_PACKAGE_DESCRIPTION "candelux reads Radiance HDR pictures of rooms, facades and skies and tells
how bright every part is in cd/m2: the value under the mouse, statistics and
histograms over regions, falsecolor maps, glare indices, calibration against
a meter, tone-mapped exports, capture of exposure series and batch
processing. It brings its own picture programs with the names and options of
the Radiance suite, and candelux-cli for scripts.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
