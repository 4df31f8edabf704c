# Natively there is no resource linker: windres compiles the script into a .res file with the
# platform's real headers, and its bytes go into the executable's "win32res" section, where the
# layer's FindResource finds them.
# windres and the headers are all of MinGW-w64 it takes (binutils-mingw-w64-i686 and
# mingw-w64-i686-dev): the script is preprocessed by the host compiler, told what MinGW's own
# 32-bit compiler would define, so a machine that only runs the program needs no cross compiler.
find_program(WINDRES_PROGRAM NAMES i686-w64-mingw32-windres REQUIRED)
find_path(WINDOWS_HEADERS windows.h PATHS /usr/i686-w64-mingw32/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT WINDOWS_HEADERS)
    message(FATAL_ERROR "MinGW-w64's headers are needed for the resources: run scripts/install-deps run")
endif()
set(RESOURCE_PREPROCESSOR_ARGS -E -xc -DRC_INVOKED
    -U__x86_64__ -U__x86_64 -U__amd64__ -U__amd64 -D_WIN32 -D__MINGW32__ -D_X86_ -D__i386__
    -isystem${WINDOWS_HEADERS})
list(TRANSFORM RESOURCE_PREPROCESSOR_ARGS PREPEND --preprocessor-arg=)

function(embed_resources target script)
    get_filename_component(script_path ${script} ABSOLUTE)
    get_filename_component(script_dir ${script_path} DIRECTORY)
    set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}.res)
    set(cpp ${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp)
    # The files the script reads besides itself; their folders are searched for its includes.
    set(depends ${script_path})
    set(include_dirs -I ${script_dir})
    foreach(extra ${ARGN})
        get_filename_component(extra_path ${extra} ABSOLUTE)
        get_filename_component(extra_dir ${extra_path} DIRECTORY)
        list(APPEND depends ${extra_path})
        list(APPEND include_dirs -I ${extra_dir})
    endforeach()
    add_custom_command(OUTPUT ${res}
        COMMAND ${WINDRES_PROGRAM} --preprocessor=${CMAKE_CXX_COMPILER} ${RESOURCE_PREPROCESSOR_ARGS}
                ${include_dirs} -O res -o ${res} ${script_path}
        DEPENDS ${depends}
        COMMENT "Compiling resources ${script}")
    add_custom_command(OUTPUT ${cpp}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${res} -DOUTPUT=${cpp} -P ${PROJECT_SOURCE_DIR}/cmake/WriteResourceSource.cmake
        DEPENDS ${res} ${PROJECT_SOURCE_DIR}/cmake/WriteResourceSource.cmake
        COMMENT "Embedding resources ${script}")
    add_library(${target} OBJECT ${cpp})
endfunction()
