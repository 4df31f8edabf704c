# The program as a web page: SlantGlyphDemo.js and .wasm, the two faces it draws with packed in
# SlantGlyphDemo.data, and the page around them, all in one static folder (build/web/bin).
# Asyncify lets the program's message loops wait by yielding to the browser. Static data starts at
# 64 KiB: below that an address reads as an atom or a resource number (IS_INTRESOURCE).
set(WEB_FONTS /usr/share/wine/fonts/tahoma.ttf /usr/share/fonts/truetype/horai-umefont/ume-ugo4.ttf)
set(packed_fonts ${CMAKE_BINARY_DIR}/fonts)
foreach(font ${WEB_FONTS})
    if(NOT EXISTS ${font})
        message(FATAL_ERROR "${font} is needed for the web page: run scripts/install-deps web")
    endif()
    file(COPY ${font} DESTINATION ${packed_fonts})
endforeach()

set_target_properties(SlantGlyphDemo PROPERTIES SUFFIX .js)
target_link_options(SlantGlyphDemo PRIVATE
    -sGLOBAL_BASE=65536 -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH -sEXIT_RUNTIME -sENVIRONMENT=web
    "-sEXPORTED_RUNTIME_METHODS=['UTF8ToString','allocateUTF8']"
    --preload-file ${packed_fonts}@/fonts)

foreach(file index.html page.js page.css)
    configure_file(${PROJECT_SOURCE_DIR}/web/${file} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${file} COPYONLY)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/README.md ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/README.md COPYONLY)
