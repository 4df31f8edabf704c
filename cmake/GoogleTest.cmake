# GoogleTest built from Debian's sources with the project's own compiler (MinGW, clang for the
# fuzzers, Emscripten), or the installed one where the sources are missing.
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, built with the project's compiler")
if(NOT WIN32)
    # Natively WCHAR is a 16-bit wchar_t; GoogleTest must agree with the tests on its size.
    add_compile_options(-fshort-wchar)
endif()
if(EXISTS ${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
endif()
