# The Debian package, made by CPack (scripts/package.sh). It holds what the
# install rules install, under /usr, plus the copyright and changelog files
# every Debian package carries.

set(HARNWICK_DEB_NAME 3e-harnwick)
set(HARNWICK_DEB_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${HARNWICK_DEB_NAME})

# A placeholder address (example.org is reserved for examples) until the
# package has a real maintainer; set -DHARNWICK_MAINTAINER="Name <address>".
set(HARNWICK_MAINTAINER "3e Harnwick developers <maintainer-placeholder@example.org>" CACHE STRING
    "Maintainer of the Debian package, as \"Name <address>\"; the default is a placeholder")
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in
               ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9 -n -c ${CMAKE_BINARY_DIR}/debian/changelog
          > ${CMAKE_BINARY_DIR}/debian/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog VERBATIM)
add_custom_target(harnwick_deb_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${HARNWICK_DEB_DOC_DIR})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${HARNWICK_DEB_NAME})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${HARNWICK_DEB_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The 3e Harnwick developers")
set(CPACK_PACKAGE_CONTACT "${HARNWICK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file browser for ZX Spectrum +3e hard-disk media")
set(CPACK_PACKAGE_DESCRIPTION
"3e Harnwick shows the partitions of an IDEDOS-partitioned hard-disk image
(.hdf, .raw) or of a CF card or disk as a tree, and the +3DOS files of a
partition as a list. It gets files out (with or without their +3DOS header,
or gathered into a tape), puts host files, tapes and +3 floppy images in,
deletes, renames, cuts, copies and pastes files, and shows a file as a BASIC
listing, hex dump, text, byte list or DATA loader.

Every change is made by its own command-line disk tool, 3e, which can also
be used alone.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Installed folders and files with the usual permissions, whatever the
# builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_THREADS 1)
include(CPack)
