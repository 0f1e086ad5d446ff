# The LZMA SDK's C files as Debian's lzma-dev installs them (the bootstrap installs the package):
# the decoder for the stub and everything that reads a coded image, the encoder for scrpack. They
# are compiled as C, as they are, with their warnings off (they are not ours to change).
#
# The SDK's folder also holds liblzma's headers (version.h, check.h, ...), so it is never put on
# an include path: each library below sees links to the SDK headers it needs, in a folder of their
# own, and includes them as "lzma_sdk/LzmaDec.h".
set(SCR_LZMA_SDK_DIR /usr/include/lzma CACHE PATH "Folder of the LZMA SDK's sources (lzma-dev)")
if(NOT EXISTS ${SCR_LZMA_SDK_DIR}/LzmaDec.c)
  message(FATAL_ERROR "The LZMA SDK is not in ${SCR_LZMA_SDK_DIR}: install Debian's lzma-dev "
                      "(scripts/bootstrap does)")
endif()

# scr_lzma_library(<name> HEADERS <header>... SOURCES <file>...)
function(scr_lzma_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "HEADERS;SOURCES")
  set(include_root ${CMAKE_BINARY_DIR}/include/${name})
  file(REMOVE_RECURSE ${include_root})
  file(MAKE_DIRECTORY ${include_root}/lzma_sdk)
  foreach(header ${arg_HEADERS})
    file(CREATE_LINK ${SCR_LZMA_SDK_DIR}/${header} ${include_root}/lzma_sdk/${header} SYMBOLIC)
  endforeach()
  set(sources)
  foreach(source ${arg_SOURCES})
    list(APPEND sources ${SCR_LZMA_SDK_DIR}/${source})
  endforeach()
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES LINKER_LANGUAGE C)
  # Single-threaded: no LzFindMt.c or Threads.c, which the package does not ship.
  target_compile_definitions(${name} PRIVATE _7ZIP_ST)
  target_compile_options(${name} PRIVATE -w)
  target_include_directories(${name} PUBLIC ${include_root})
endfunction()
