# What `cmake --install` puts where, in the freedesktop layout, and the Debian package that CPack
# makes of it (`cmake --build build --target package`). ./run copies the program, rtftool and
# help.rtf from this layout into the user's application folder; the package installs it under /usr,
# and the installed program then keeps the notes in ~/.local/share/Quillmark, which the package
# never owns, so removing it never touches notes.
include(GNUInstallDirs)

# Component program: what ./run needs; component system: the rest of the package.
install(TARGETS quillmark rtftool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/help.rtf DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmark
    COMPONENT program)

set(desktop_id example.vennick.Quillmark)
set(desktop_data ${PROJECT_SOURCE_DIR}/data/desktop)
install(FILES ${desktop_data}/${desktop_id}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT system)
install(FILES ${desktop_data}/${desktop_id}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT system)
install(DIRECTORY ${desktop_data}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT system)

# Manual pages and the changelog compressed as Debian wants them: gzip -9, without name or time.
set(compressed_docs "")
foreach(source man/quillmark.1 man/rtftool.1 debian/changelog)
    get_filename_component(name ${source} NAME)
    set(output ${PROJECT_BINARY_DIR}/docs/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/docs
        COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/${source} > ${output}
        DEPENDS ${PROJECT_SOURCE_DIR}/data/${source}
        VERBATIM)
    list(APPEND compressed_docs ${output})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed_docs})
install(FILES ${PROJECT_BINARY_DIR}/docs/quillmark.1.gz ${PROJECT_BINARY_DIR}/docs/rtftool.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT system)
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmark COMPONENT system)
install(FILES ${PROJECT_BINARY_DIR}/docs/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillmark RENAME changelog.Debian.gz COMPONENT system)

# --- The Debian package ----------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Vennick)
set(CPACK_PACKAGE_CONTACT "Vennick <packages@vennick.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "project notes and a note for every day of the week")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmark keeps a list of your projects, each with a rich-text note of its own,
and a rich-text note for every day of the week. Every note is saved as you
type; the notes are RTF files that word processors open too.

The package holds the program, rtftool (a command-line door to its RTF reader
and writer), the help file, the launcher and the manual pages. The notes live
in ~/.local/share/Quillmark, which removing the package leaves alone.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.vennick.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Spelling in English when no dictionary of the user's language is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS hunspell-en-us)
include(CPack)
