# Installation and the Debian package.
#
# The installed tree is a Tavo/E home: <prefix>/lib/tavoe35 holds bin/ (the programs and libtest.so)
# beside dialogs/, help/, macros/, menus/, profiles/, samples/ and templates/, so the programs find
# their home two levels above themselves, as they do in the build tree. <prefix>/bin holds symbolic
# links to the programs (the program resolves the link to find its home), and the manual pages go
# to <prefix>/share/man/man1. A user of an installation that cannot be written keeps their own
# profile in ~/.tavoe35.
include(GNUInstallDirs)

set(TAVOE_INSTALL_HOME "lib/tavoe35")
set(TAVOE_DOC_DIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/tavoe")

install(TARGETS tavoe RUNTIME DESTINATION ${TAVOE_INSTALL_HOME}/bin)
if(TARGET client)
    install(TARGETS client RUNTIME DESTINATION ${TAVOE_INSTALL_HOME}/bin)
endif()
if(TARGET tavoe_sample)
    install(TARGETS tavoe_sample LIBRARY DESTINATION ${TAVOE_INSTALL_HOME}/bin
            PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()

# The data tree without any main profile: each user's is written on their first start.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/
        DESTINATION ${TAVOE_INSTALL_HOME}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                              WORLD_READ WORLD_EXECUTE
        PATTERN "TAVOE.PRF" EXCLUDE PATTERN "tavoe.prf" EXCLUDE)

# Links in <prefix>/bin, relative so that the tree can be moved (DESTDIR, a package root).
foreach(program tavoe client)
    install(CODE "
        set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(REMOVE \"\${link}\")
        file(CREATE_LINK \"../${TAVOE_INSTALL_HOME}/bin/${program}\" \"\${link}\" SYMBOLIC)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    ")
endforeach()

# Manual pages, compressed as Debian wants them.
set(TAVOE_MAN_PAGES tavoe client)
set(TAVOE_MAN_OUTPUTS "")
foreach(page ${TAVOE_MAN_PAGES})
    set(out ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/man/${page}.1 > ${out}
        DEPENDS ${CMAKE_SOURCE_DIR}/man/${page}.1
        VERBATIM)
    list(APPEND TAVOE_MAN_OUTPUTS ${out})
endforeach()
set(out ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${out}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(tavoe_man ALL DEPENDS ${TAVOE_MAN_OUTPUTS} ${out})
install(FILES ${TAVOE_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${out} DESTINATION ${TAVOE_DOC_DIR}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# `make uninstall`: removes what the last install wrote (its manifest), then the folders it made
# when they are empty.
configure_file(${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake.in ${CMAKE_BINARY_DIR}/cmake_uninstall.cmake @ONLY)
add_custom_target(uninstall COMMAND ${CMAKE_COMMAND} -P ${CMAKE_BINARY_DIR}/cmake_uninstall.cmake)

# The Debian package.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tavoe")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tavo/E maintainers <tavoe@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "record-oriented editor for fixed and variable record files")
# The long description only: CPack puts the summary in front of it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tavo/E edits mainframe-style source and data files in a terminal: fixed\n\
and variable records, EBCDIC or ASCII on disk, COBOL and standard\n\
sequence numbers, prefix line commands, primary commands, a C-like macro\n\
language, and dialogs and menus defined in text files. It also runs\n\
headless from scripts, for batch edits in CI pipelines.")
set(CPACK_DEBIAN_PACKAGE_SECTION "editors")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Printing sends its pages with lp; everything else works without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
