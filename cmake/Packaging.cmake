# `cpack -G DEB` in the build folder makes pixmold_VERSION_ARCH.deb from the install rules.
set(CPACK_PACKAGE_NAME pixmold)
set(CPACK_PACKAGE_VENDOR "Pixmold")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepare game sprite sheets cell by cell")
set(CPACK_PACKAGE_DESCRIPTION
    "Pixmold prepares game sprite sheets, pictures with one sprite per row and one
animation frame per column. Its window shows a sheet pixel by pixel and runs
whole-sheet operations: rescale every cell to a fixed size, follow each column
by its two-colour negative, put the rows in a new order, replace one exact colour.
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

include(CPack)
