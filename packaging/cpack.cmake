# `cmake --build build --target package` makes a Debian package of everything installed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumar)
set(CPACK_PACKAGE_VENDOR "Vellumar developers")
set(CPACK_PACKAGE_CONTACT "Vellumar developers <support@vellumar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo gallery builder: pictures to a static HTML gallery")
set(CPACK_PACKAGE_DESCRIPTION
    "Vellumar is a five-step wizard, and a command-line tool vellumar-cli, that turn a set of
pictures into a static HTML photo gallery: thumbnails, large pictures, paged thumbnail
index pages and one page per picture, all dressed by a style template.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://vellumar.org")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries the programs link, found by dpkg-shlibdeps; xdg-open shows the galleries, and
# ghostscript's colour profiles give CMYK pictures without a profile of their own a press.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libgs-common")
include(CPack)
