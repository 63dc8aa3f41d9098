# The Debian package, built by CPack (script/package). The shared-library dependencies come from
# dpkg-shlibdeps; the fonts the reader shows Japanese in and Qt's own translations, which it
# loads at start, are named here because no library link reveals them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvelane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(QV_PACKAGE_MAINTAINER "Quorvelane developers <quorvelane@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${QV_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QV_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "reader for Japanese plain-text files
Quorvelane reads plain-text files in Shift-JIS (CP932), UTF-8 or UTF-16. The
chosen file goes into an editable text view, and a reader panel shows a
window of consecutive lines in a large font. Slide reading moves that window
on by a number of lines or a page at a chosen interval; searches for a
string, for paragraphs or for heading-like lines build a table of contents.
All of its texts are Japanese.")
include(CPack)
