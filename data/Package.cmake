# The Debian package, built by CPack from the install rules (scripts/package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quillmere Software")
set(CPACK_PACKAGE_CONTACT "Quillmere Software <support@example.com>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "write the business plan of a small business, step by step")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.example.com/")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The pages are laid out for Arial's metrics; Liberation Sans has them. Word and
# OpenDocument files are zip archives (libzip); shlibdeps adds the other libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libzip4")
# The editor checks spelling with Hunspell when a dictionary is there, and reads SVG
# pictures with Qt's SVG plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-en-us, libqt6svg6")
# CPack puts the summary first and indents these lines; an empty line becomes " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quorvane leads the owner of a small business through twelve steps of
questions: name and address, type and nature of the business, purpose,
goals, perspective, current status, employees, products and services,
advertising and marketing, income and expenses, and other information.

On request it composes every answer into a business-plan document with
fixed headings, shown in a built-in editor where it can be formatted,
searched, saved as RTF, printed, and exported to PDF, Word, ODT, HTML, Markdown
or plain text.

The package also holds quorvane-rtf-to-text, which prints the text of an
RTF document as Quorvane reads it.")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

include(CPack)
