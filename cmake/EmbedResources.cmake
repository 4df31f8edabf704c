# Natively there is no resource linker: windres compiles the script into a .res file with the
# platform's real headers, and its bytes go into the executable's "win32res" section, where the
# layer's FindResource finds them.
find_program(WINDRES_PROGRAM NAMES i686-w64-mingw32-windres x86_64-w64-mingw32-windres windres REQUIRED)

function(embed_resources target script)
    get_filename_component(script_path ${script} ABSOLUTE)
    get_filename_component(script_dir ${script_path} DIRECTORY)
    set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}.res)
    set(cpp ${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp)
    set(depends ${script_path})
    foreach(extra ${ARGN})
        get_filename_component(extra_path ${extra} ABSOLUTE)
        list(APPEND depends ${extra_path})
    endforeach()
    add_custom_command(OUTPUT ${res}
        COMMAND ${WINDRES_PROGRAM} -I ${script_dir} -O res -o ${res} ${script_path}
        DEPENDS ${depends}
        COMMENT "Compiling resources ${script}")
    add_custom_command(OUTPUT ${cpp}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${res} -DOUTPUT=${cpp} -P ${PROJECT_SOURCE_DIR}/cmake/WriteResourceSource.cmake
        DEPENDS ${res} ${PROJECT_SOURCE_DIR}/cmake/WriteResourceSource.cmake
        COMMENT "Embedding resources ${script}")
    add_library(${target} OBJECT ${cpp})
endfunction()
