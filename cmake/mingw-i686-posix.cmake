# i686 with the posix thread model, for the end-to-end tests: GoogleTest needs threads. The
# release stub they run is built with mingw-i686.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
