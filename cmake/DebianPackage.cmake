# The Debian package (make deb): whatever `cmake --install` puts in place (the
# two programs, the menu entry, its icon and the manual page), under /usr.
# dpkg-shlibdeps reads the programs' shared libraries and writes Depends, so
# the package asks for exactly the Qt, poppler, libzip and pugixml packages the
# binaries were linked against on the machine that built it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME maravelundi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Maravelundi maintainers <maintainers@users.noreply.c-seed-da346c17.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert legacy 8-bit Malayalam font text to Unicode")
# The long description, wrapped for an 80-column terminal as Debian's
# control format wants; CPack indents each line and marks the blank lines
# between paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Maravelundi converts Malayalam documents typed in the legacy 8-bit
Rachana, ML-TT and other legacy font families into Unicode Malayalam, or
into the ML-TT glyph encoding, and Unicode back into a legacy font for
programs without complex-script shaping.

Rich Text, DOCX and ODT documents are converted in place: everything but
the legacy-font text stays as it was. Plain text copied out of old web
pages and mails, and the text layer of PDF files, are read too. With
LibreOffice installed, Word 97-2003 and the other formats LibreOffice
reads are converted through it.

This package holds the command line converter maravelundi-cli with its
manual page, and the window maravelundi (Qt 6) with its menu entry.]])
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The first packaging of each upstream version; a rebuild of the same
# sources with other packaging raises it.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window is set in Arial, which Liberation Sans stands in for; LibreOffice
# reads and writes the formats the converter does not (without it those
# documents fail with a message saying so); the HTML5 and new documents name
# Manjari as their Malayalam font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS
  "libreoffice-writer-nogui | libreoffice-writer, libreoffice-calc-nogui | libreoffice-calc, libreoffice-impress-nogui | libreoffice-impress, fonts-smc-manjari")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build is RelWithDebInfo; the package carries the programs without
# their debugging information, as Debian's own binaries do.
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/DebianPackageTools.cmake")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/DebianPackageStaging.cmake")
include(CPack)
