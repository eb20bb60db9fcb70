# `cpack -G DEB` in the build folder makes pixmold_VERSION_ARCH.deb from the install rules.
set(CPACK_PACKAGE_NAME pixmold)
set(CPACK_PACKAGE_VENDOR "Pixmold")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepare game sprite sheets cell by cell")
set(CPACK_PACKAGE_DESCRIPTION
    "Pixmold prepares game sprite sheets, pictures with one sprite per row and one
animation frame per column. Its window shows a sheet pixel by pixel and runs
whole-sheet operations: rescale every cell to a fixed size, follow each column
by its two-colour negative, put the rows in a new order, replace one exact
colour.
.
pixmold-batch runs the same operations on many files from the command line.")
set(CPACK_STRIP_FILES ON)

set(PIXMOLD_PACKAGE_MAINTAINER "Pixmold maintainers <maintainers@users.noreply.c-seed-1fdd8f82.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PIXMOLD_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries come from dpkg-shlibdeps; the window also needs a platform plugin,
# which Qt loads at run time, so no library names it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")

# What Debian asks of every package's documentation folder: the copyright in the
# machine-readable format and the changelog, compressed as dpkg-dev would (-n: the same
# bytes every time). The version has no Debian revision, so the changelog is a native
# package's changelog.gz.
set(pixmold_package_doc ${CMAKE_INSTALL_DATADIR}/doc/pixmold)
configure_file(data/package/changelog.in changelog @ONLY)
set(pixmold_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog)
find_program(PIXMOLD_GZIP gzip)
if(PIXMOLD_GZIP)
  add_custom_command(OUTPUT changelog.gz
    COMMAND ${PIXMOLD_GZIP} -9 -n -c ${pixmold_changelog} > changelog.gz
    DEPENDS ${pixmold_changelog}
    COMMENT "Compressing the changelog")
  set(pixmold_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
  add_custom_target(package_changelog ALL DEPENDS ${pixmold_changelog})
endif()
install(FILES data/package/copyright ${pixmold_changelog} DESTINATION ${pixmold_package_doc})

include(CPack)
