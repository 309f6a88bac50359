# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# A Debian package: cpack -G DEB in the build folder.
install(TARGETS kavro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavro)
set(CPACK_PACKAGE_VENDOR "KAVRO")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "US dollar and Japanese yen converter (${PROJECT_DESCRIPTION})")
set(CPACK_PACKAGE_DESCRIPTION
    "A one-window converter between US dollars and Japanese yen at a rate that the user sets and that is remembered between runs. The interface is in Japanese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "KAVRO developers <kavro@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (context menus, standard buttons) in Japanese, and a Japanese font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic")
set(CPACK_STRIP_FILES ON)
include(CPack)
