# The program as a web page: SlantGlyphDemo.js and .wasm, the two faces it draws with packed in
# SlantGlyphDemo.data, and the page around them, all in one static folder (build/web/bin).
# Asyncify lets the program's message loops wait by yielding to the browser. Static data starts at
# 64 KiB: below that an address reads as an atom or a resource number (IS_INTRESOURCE).
set(WEB_FONTS /usr/share/wine/fonts/tahoma.ttf /usr/share/fonts/truetype/horai-umefont/ume-ugo4.ttf)
set(packed_fonts ${CMAKE_BINARY_DIR}/fonts)

# The page shows Latin text only: each face keeps Latin-1, general punctuation and the glyphs
# every face must have, which cover the dialog's own texts. Everything else a glyph needs stays as
# it was: advances, vertical metrics, hinting, the embedded bitmaps of the small sizes (Tahoma's
# EBDT), names and tables the subsetter does not know, so the kept glyphs draw exactly as before.
find_program(PYFTSUBSET_PROGRAM pyftsubset)
if(NOT PYFTSUBSET_PROGRAM)
    message(FATAL_ERROR "pyftsubset (package fonttools) is needed for the web page: run scripts/install-deps web")
endif()
set(subset_options --unicodes=U+0020-007E,U+00A0-00FF,U+2000-206F --notdef-glyph --notdef-outline
    --recommended-glyphs --layout-features=* --glyph-names --symbol-cmap --legacy-cmap --legacy-kern
    --name-IDs=* --name-legacy --name-languages=* --drop-tables= --passthrough-tables
    --no-prune-unicode-ranges --hinting)
set(subset_fonts)
foreach(font ${WEB_FONTS})
    if(NOT EXISTS ${font})
        message(FATAL_ERROR "${font} is needed for the web page: run scripts/install-deps web")
    endif()
    get_filename_component(name ${font} NAME)
    add_custom_command(OUTPUT ${packed_fonts}/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${packed_fonts}
        COMMAND ${PYFTSUBSET_PROGRAM} ${font} ${subset_options} --output-file=${packed_fonts}/${name}
        DEPENDS ${font}
        COMMENT "Keeping the Latin glyphs of ${name}"
        VERBATIM)
    list(APPEND subset_fonts ${packed_fonts}/${name})
endforeach()
add_custom_target(web_fonts DEPENDS ${subset_fonts})

# Built for size where it costs no speed: the code is compiled at -O2 (at -Oz clang inlines almost
# nothing, and a paint took twenty times as long), and linked at -Oz, where Emscripten's link runs
# binaryen's wasm-opt over the whole module for size (and for Asyncify). FreeType's functions are left out of Asyncify's instrumentation: they
# never call back into the layer, so no wait can ever find them on the stack.
set_target_properties(SlantGlyphDemo PROPERTIES SUFFIX .js LINK_DEPENDS "${subset_fonts}")
add_dependencies(SlantGlyphDemo web_fonts)
target_link_options(SlantGlyphDemo PRIVATE
    -sGLOBAL_BASE=65536 -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH -sEXIT_RUNTIME -sENVIRONMENT=web
    "-sEXPORTED_RUNTIME_METHODS=['UTF8ToString','allocateUTF8']"
    "-sASYNCIFY_REMOVE=['FT_*','ft_*','tt_*','TT_*','Ins_*','cff_*','cf2_*','ps_*','psh_*','af_*','gray_*','sfnt_*','t1_*','T1_*','t42_*','pfr_*','pcf_*','bdf_*','FNT_*','fnt_*']"
    --preload-file ${packed_fonts}@/fonts)

# The page reads the dialog's controls back through the public API, to link to what it shows.
target_sources(SlantGlyphDemo PRIVATE ${PROJECT_SOURCE_DIR}/web/dialog_view.cpp)

foreach(file index.html page.js link.js page.css)
    configure_file(${PROJECT_SOURCE_DIR}/web/${file} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${file} COPYONLY)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/README.md ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/README.md COPYONLY)

# The licence texts the page must carry, beside it in licenses/: ours, each face's copyright
# file as Debian gives it with the LGPL's text for Tahoma, and FreeType's licence, whose credit
# line the page's footer gives.
file(GLOB freetype_licence ${PROJECT_SOURCE_DIR}/build/web-deps/source/freetype-*/docs/FTL.TXT)
if(NOT freetype_licence)
    message(FATAL_ERROR "FreeType's source (docs/FTL.TXT) is needed for the web page: run scripts/install-deps web")
endif()
set(page_licences
    ${PROJECT_SOURCE_DIR}/LICENSE
    /usr/share/doc/fonts-wine/copyright@fonts-wine.copyright
    /usr/share/common-licenses/LGPL-2.1@LGPL-2.1
    /usr/share/doc/fonts-horai-umefont/copyright@fonts-horai-umefont.copyright
    ${freetype_licence}@FTL.TXT)
foreach(licence ${page_licences})
    string(REPLACE "@" ";" parts ${licence})
    list(GET parts 0 source)
    list(GET parts -1 name)
    get_filename_component(name ${name} NAME)
    configure_file(${source} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/licenses/${name} COPYONLY)
endforeach()
