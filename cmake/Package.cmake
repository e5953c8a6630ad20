# The Debian package, built from the install rules: `cpack -G DEB` in a build folder.
set(CPACK_PACKAGE_NAME twinscan)
set(CPACK_PACKAGE_VENDOR Corvane)
# Corvane publishes no e-mail address, so the maintainer is named without one (see
# packaging/lintian-overrides).
set(CPACK_PACKAGE_CONTACT Corvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find and remove duplicate lines in text files")
# Lines of at most 80 characters, as terminals show package descriptions.
set(CPACK_PACKAGE_DESCRIPTION
    "Twinscan lists every line of a text file that occurs more than once beside
the whole file. Mark the occurrences to remove, one by one or by a rule, and
save the file without them; kept lines are written back byte for byte.
Switches decide whether letter case, surrounding spaces and empty lines count.
The same job runs unattended from the command line, also without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The package is the program's files and the files only a Debian package has (its changelog and
# lintian overrides), which `cmake --install` to any other place leaves out.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified debian)
include(CPack)
