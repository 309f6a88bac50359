# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# A Debian package: cpack -G DEB in the build folder. Two builds of one commit give the same
# bytes: file times come from SOURCE_DATE_EPOCH (the last commit's time unless set), owners
# are root, directory modes do not follow the umask, and compressed files carry no time.
install(TARGETS kavro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages and the changelog, gzipped as Debian wants them: best compression, no name or
# time in the header.
function(kavro_gzip source output)
    get_filename_component(folder ${output} DIRECTORY)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${source} ${output}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND kavro_gzipped ${output})
    set(kavro_gzipped ${kavro_gzipped} PARENT_SCOPE)
endfunction()
set(packaged ${CMAKE_CURRENT_BINARY_DIR}/packaged)
kavro_gzip(${PROJECT_SOURCE_DIR}/data/man/kavro.1 ${packaged}/man1/kavro.1.gz)
kavro_gzip(${PROJECT_SOURCE_DIR}/data/man/ja/kavro.1 ${packaged}/ja/man1/kavro.1.gz)
kavro_gzip(${PROJECT_SOURCE_DIR}/data/debian/changelog ${packaged}/changelog.gz)
add_custom_target(kavro_packaged ALL DEPENDS ${kavro_gzipped})

install(FILES ${packaged}/man1/kavro.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaged}/ja/man1/kavro.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
install(FILES ${packaged}/changelog.gz ${PROJECT_SOURCE_DIR}/data/debian/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavro)
set(CPACK_PACKAGE_VENDOR "KAVRO")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "US dollar and Japanese yen converter (${PROJECT_DESCRIPTION})")
# One line each: CPack indents them as the control file wants.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "A one-window converter between US dollars and Japanese yen at a rate that"
    "the user sets and that is remembered between runs. The interface is in"
    "Japanese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "KAVRO developers <kavro@kavro.net>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KAVRO_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (context menus, standard buttons) in Japanese, and a Japanese font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic")
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/cpack_time.cmake)
file(CONFIGURE OUTPUT cpack_time.cmake CONTENT [[
# Read by cpack at packing time, so that a later commit gives its own time.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "@PROJECT_SOURCE_DIR@" log -1 --format=%ct
        OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit_time)
        set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
    endif()
endif()
]] @ONLY)
include(CPack)
