# `cpack -G DEB` in a release build gives vorlix_<version>_<arch>.deb; the
# runtime dependencies come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vorlix-Entwickler <vorlix@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "class structure browser for C++ headers
Vorlix reads the C++ headers below chosen folders, finds the classes with
their base classes, member functions and variables, and shows them as a
class tree with a description for every entry. Structures and descriptions
are stored in SQLite databases (Access files are read), exported as linked
HTML pages, and source trees are searched for where a class or member
function is used.
.
The package holds the Qt desktop program vorlix (German texts) and the
command-line tool vorlix-cli.")
include(CPack)
