# What `cmake --install` (and `make install`) puts where: the program in
# bin/ and its manual page in share/man/man1/.  `make package` builds the
# Debian package from the same rules with CPack; the program is linked
# statically, so the package depends on nothing.
include(GNUInstallDirs)

# Installing needs the program, not the tests: the install step (and CPack's,
# which runs it) does not build the whole tree first; `make install` and
# `make package` build the program before they install it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

configure_file(${PROJECT_SOURCE_DIR}/doc/ntbench.1.in ${PROJECT_BINARY_DIR}/ntbench.1 @ONLY)
install(TARGETS ntbench RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/ntbench.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ntbench)
set(CPACK_PACKAGE_VENDOR "The ntbench developers")
set(CPACK_PACKAGE_CONTACT "The ntbench developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive console workbench for elementary number theory")
set(CPACK_PACKAGE_DESCRIPTION "Numbered menus, whole numbers typed at the console and fixed-column \
tables: prime counts up to 2147483647, lists of primes, gaps and twins, factors, divisors, \
step-by-step prime counting and Goldbach pairs, with a session log of the results.")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
