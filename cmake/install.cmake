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
# Manual page and changelog compressed as Debian wants them: gzip -9n, so the
# package is the same byte for byte from one build to the next.
configure_file(${PROJECT_SOURCE_DIR}/doc/changelog.in ${PROJECT_BINARY_DIR}/changelog @ONLY)
foreach(doc ntbench.1 changelog)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${doc}.gz
    COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/${doc} > ${PROJECT_BINARY_DIR}/${doc}.gz
    DEPENDS ${PROJECT_BINARY_DIR}/${doc} VERBATIM)
endforeach()
add_custom_target(ntbench_docs ALL DEPENDS ${PROJECT_BINARY_DIR}/ntbench.1.gz ${PROJECT_BINARY_DIR}/changelog.gz)
add_dependencies(ntbench ntbench_docs)

install(TARGETS ntbench RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The bash completion that the program writes when it is linked (src/app).
install(FILES ${PROJECT_BINARY_DIR}/ntbench.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME ntbench)
install(FILES ${PROJECT_BINARY_DIR}/ntbench.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# /usr/share/doc/ntbench: the licence in Debian's machine-readable form, the
# README (the About entry sends the user to it) and the changelog.
install(FILES ${PROJECT_SOURCE_DIR}/doc/copyright ${PROJECT_SOURCE_DIR}/README.md
              ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The program is static on purpose (it starts faster and depends on nothing):
# lintian is told so.  Linked as a static PIE it has the type of a shared
# object with no library to load, which lintian also reports.
install(FILES ${PROJECT_SOURCE_DIR}/doc/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME ntbench)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ntbench)
set(CPACK_PACKAGE_VENDOR "The ntbench developers")
set(CPACK_PACKAGE_CONTACT "The ntbench developers <maintainers@ntbench.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The ntbench developers <maintainers@ntbench.org>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive console workbench for elementary number theory")
# The long description in lines of at most 80 columns, as Debian wants it.
set(CPACK_PACKAGE_DESCRIPTION "Numbered menus, whole numbers typed at the console and fixed-column
tables: prime counts up to 2147483647, lists of primes, gaps and twins,
factors, divisors, step-by-step prime counting and Goldbach pairs, with a
session log of the results; and the same answers from the command line, as
text or CSV.")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
