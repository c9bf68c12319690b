# The Debian package: `cpack --preset release` (or `make package`) after a release build.
# Its Depends come from the binaries' shared libraries (dpkg-shlibdeps) plus what Qt loads only
# at run time: the platform plugins, a Japanese font for the dialogs, and Qt's Japanese
# translation (the Yes and No of message boxes).

# Debian's own documentation files of the package: the copyright file and the changelog,
# compressed without a time stamp.
set(changelog_dir ${CMAKE_BINARY_DIR}/doc)
configure_file(${CMAKE_SOURCE_DIR}/res/desktop/changelog.in ${changelog_dir}/changelog @ONLY)
add_custom_command(OUTPUT ${changelog_dir}/changelog.gz
    COMMAND gzip -9 -n -k -f changelog
    WORKING_DIRECTORY ${changelog_dir}
    DEPENDS ${changelog_dir}/changelog
    VERBATIM)
add_custom_target(kelmora_changelog ALL DEPENDS ${changelog_dir}/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/res/desktop/copyright ${changelog_dir}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelmora)

set(CPACK_PACKAGE_NAME kelmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelmora developers")
set(CPACK_PACKAGE_CONTACT "Kelmora developers <kelmora@kelmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture encyclopedia of Japanese rice varieties")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kelmora is a desktop picture encyclopedia of Japanese rice varieties. Four\n"
    "cascading lists -- region, prefecture, classification and brand -- narrow\n"
    "the national catalogue of production-area variety brands; the chosen brand's\n"
    "grain characteristics and pedigree appear on two tab pages beside a large\n"
    "square grain photograph that zooms and pans.\n"
    "\n"
    "This is the demonstration edition: it lists the brands of every prefecture\n"
    "and shows the full detail of three brands of Hokkaido. The user interface\n"
    "is in Japanese.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kelmora)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk")

include(CPack)
