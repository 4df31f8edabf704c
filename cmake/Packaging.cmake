# What `cmake --install` puts where, and the packages CPack makes of it: natively a Debian package
# (the program, its desktop entry, icon and manual page, the README and copyright where Debian keeps
# a package's documentation), and for Windows a zip of the executable, the README and the licence.

if(WIN32)
    install(TARGETS SlantGlyphDemo RUNTIME DESTINATION .)
    install(FILES README.md LICENSE DESTINATION .)

    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win32)
else()
    include(GNUInstallDirs)
    # Debian names the package in lower case, and its documentation folder after the package.
    set(PACKAGE_NAME slantglyphdemo)
    set(PACKAGE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${PACKAGE_NAME})

    # Manual pages and documentation go in compressed, as Debian keeps them (gzip -9n: no name or
    # time inside, so the same sources give the same package).
    find_program(GZIP_PROGRAM gzip REQUIRED)
    function(install_compressed source destination)
        get_filename_component(name ${source} NAME)
        set(compressed ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
        add_custom_command(OUTPUT ${compressed}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
            COMMAND ${GZIP_PROGRAM} -9n -c ${source} > ${compressed}
            DEPENDS ${source}
            COMMENT "Compressing ${name}")
        string(MAKE_C_IDENTIFIER ${name} target)
        add_custom_target(compress_${target} ALL DEPENDS ${compressed})
        install(FILES ${compressed} DESTINATION ${destination})
    endfunction()
    # A program and its manual page (section 1).
    function(install_program target manual_page)
        install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
        install_compressed(${PROJECT_SOURCE_DIR}/${manual_page} ${CMAKE_INSTALL_MANDIR}/man1)
    endfunction()

    install_program(SlantGlyphDemo packaging/SlantGlyphDemo.1)
    install_program(slantglyph-atlas packaging/slantglyph-atlas.1)
    install(FILES packaging/slantglyphdemo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES packaging/slantglyphdemo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

    install(FILES packaging/copyright DESTINATION ${PACKAGE_DOC_DIR})
    install_compressed(${PROJECT_SOURCE_DIR}/README.md ${PACKAGE_DOC_DIR})
    # The package's changelog, its newest entry at this version.
    configure_file(packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging-sources/changelog @ONLY)
    install_compressed(${CMAKE_BINARY_DIR}/packaging-sources/changelog ${PACKAGE_DOC_DIR})

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_PACKAGE_NAME ${PACKAGE_NAME})
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The run-time libraries, as dpkg-shlibdeps reads them off the executable, and the two faces
    # the program draws with, which fontconfig finds where Debian installs them.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, fonts-horai-umefont")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "SlantGlyphDemo developers")
set(CPACK_PACKAGE_CONTACT "SlantGlyphDemo developers <maintainers@slantglyphdemo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shows how GDI lays out rotated text")
set(CPACK_PACKAGE_DESCRIPTION [=[
A small Win32 program that draws one line of text with a chosen escapement
(the angle of the line) and orientation (the angle of each glyph), in either
graphics mode and with any vertical alignment, on yellow character cells at a
fixed reference cross; either angle can be animated. It runs natively on the
program's own Win32 platform layer, in an SDL2 window.]=])
# Executables go in stripped; SHA256SUMS-style checksum files beside the packages.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
