# The libraries of src/: one per folder, linked along the layers, each built the way the stub needs.

# The stub's runtime replacements (see src/app/win32/runtime/).
set(SCR_STUB_RUNTIME_DIR ${CMAKE_SOURCE_DIR}/src/app/win32/runtime)

# What a library the stub is made of is compiled with on Windows: the same string instances as
# the stub, and link-time code for the whole-program link beside its ordinary code. The other
# programs (the tests, scrpack.exe) link the ordinary code as usual and keep the linker plugin
# away, as it mistakes the libraries' type information for duplicates of theirs.
# Nothing in the stub asks for a type at run time (typeid, dynamic_cast; catch needs neither), and
# it runs one thread, so its statics need no guards: -fno-rtti and -fno-threadsafe-statics.
# -fno-declone-ctor-dtor: at -Os and below GCC gives every file its own private copy of each
# constructor and destructor body it uses (std::string's among them), and on mingw the link-time
# optimiser can neither merge those copies nor drop their unwind tables: 9 KB of the i686 stub.
set(SCR_STUB_CXX_OPTIONS --include=${SCR_STUB_RUNTIME_DIR}/string_instances.h -fno-rtti
                         -fno-threadsafe-statics -fno-declone-ctor-dtor)
function(scr_stub_build_options target)
  if(WIN32)
    target_compile_options(${target} PRIVATE -flto -ffat-lto-objects
                           "$<$<COMPILE_LANGUAGE:CXX>:${SCR_STUB_CXX_OPTIONS}>")
  endif()
endfunction()

# The stub's runtime replacements and its whole-program link, for the stub and for the check that
# an unreplaced runtime helper stops the link.
function(scr_link_with_stub_runtime target)
  target_sources(${target} PRIVATE ${SCR_STUB_RUNTIME_DIR}/runtime_replacements.cpp
                                   ${SCR_STUB_RUNTIME_DIR}/frame_table_search.cpp)
  target_compile_options(${target} PRIVATE -flto "$<$<COMPILE_LANGUAGE:CXX>:${SCR_STUB_CXX_OPTIONS}>")
  # The stub is optimised as a whole: --gc-sections alone cannot drop unused functions on mingw,
  # where the linker keeps every unwind table and so all the code they describe. GCC 12 crashes
  # when it splits the stub into several link-time partitions; one is also the smallest. The
  # link-time optimisation is also what drops the unused runtime helpers before their missing
  # functions are looked for. A reference to a DLL's data that only a start-up patch could
  # resolve stops the link, as the stub's start-up patches nothing (runtime_replacements.cpp).
  target_link_options(${target} PRIVATE -mwindows -flto -fuse-linker-plugin -flto-partition=one
                                        -Oz -Wl,--disable-runtime-pseudo-reloc)
endfunction()

# scr_library(<name> [NO_ERRORS] [USES <library>...])
#
# The library of the calling folder: its .cpp files (none: a library of headers alone), and the
# libraries its files include from. A folder's headers are seen only by the folder itself and by
# the libraries that link it, directly or through others: each library's include folder in the
# build tree holds links to its own folder's headers and nothing else (not even those of a
# subfolder, which is a library of its own). An include against the layers therefore finds no
# file and stops the build, and a new include across folders needs its library in USES.
#
# NO_ERRORS: no error of the program is raised in the library or travels through it. Its callers
# learn of failure from what it returns (the Win32 side of the OS boundary and of the window
# answers the logic through interfaces whose calls are noexcept, and a window procedure can pass
# nothing on through the system), and what it calls back reports in the same way. It is compiled
# without exceptions, so it carries no unwind tables and no clean-up paths: 7.5 KB of the i686
# stub for these six libraries. What the standard library could still raise inside it (memory
# exhausted) ends the program there, as it would at a noexcept boundary.
function(scr_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_ERRORS" "" "USES")
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)

  set(include_root ${CMAKE_BINARY_DIR}/include/${name})
  file(REMOVE_RECURSE ${include_root})  # a header removed or renamed leaves no link behind
  file(MAKE_DIRECTORY ${include_root}/${folder})
  foreach(header ${headers})
    get_filename_component(header_name ${header} NAME)
    file(CREATE_LINK ${header} ${include_root}/${folder}/${header_name} SYMBOLIC)
  endforeach()

  if(sources)
    add_library(${name} STATIC ${sources})
    scr_stub_build_options(${name})
    if(arg_NO_ERRORS)
      target_compile_options(${name} PRIVATE -fno-exceptions)
    endif()
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${include_root})
  target_link_libraries(${name} ${scope} ${arg_USES})
endfunction()
