# The Debian package (`./dev.sh package`): stipplor_<version>_<arch>.deb with what data/ installs,
# under /usr. Its dependencies are computed from the binaries by dpkg-shlibdeps (dpkg-dev), which
# needs the `file` program to find them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stipplor)
set(CPACK_PACKAGE_VENDOR Stipplor)
set(CPACK_PACKAGE_CONTACT "Stipplor developers <stipplor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "draws pictures as HTML pages of tiny characters or coloured cells")
set(CPACK_PACKAGE_DESCRIPTION
    "Stipplor turns a picture (BMP, GIF, JPEG) into an HTML page that draws it with no image \
file at all: tiny characters in a 3-pixel font for black-and-white text art, or tiny coloured \
table cells. The package holds the desktop program, stipplor, and its command-line twin, \
stipplor-encode, which encodes pictures in scripts and batch jobs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt reads more picture formats (TIFF, WebP, ...) with its extra plugins; BMP, GIF and JPEG need
# none. The pages ask for Arial, which the result window draws in its metric twin Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, fonts-liberation")
include(CPack)
