# Cross build of the 64-bit Windows DLL with MinGW-w64 (posix thread model).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DTESSAPHON_WIN_DEPS=<prefix of the cross-built libpng>
# Test programs run under Wine in a private prefix inside the build folder.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
# The -posix compilers: the unsuffixed names may select the win32 thread model,
# which has no std::thread or std::mutex.
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

# Look for headers, libraries and packages only in the MinGW sysroot and the
# cross-built dependencies, never in the build machine's own folders. A prefix
# given in CMAKE_PREFIX_PATH is not searched in this mode, so the dependency
# prefix joins the find roots instead.
set(TESSAPHON_WIN_DEPS "" CACHE PATH "Install prefix of the cross-built dependencies (libpng)")
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
if(TESSAPHON_WIN_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH "${TESSAPHON_WIN_DEPS}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# zlib goes into the DLL: the import library libz.dll.a would make it depend on
# zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)

# Every binary carries its own C and C++ runtime and thread library, so nothing
# needs the MinGW DLLs at run time (a missing libwinpthread-1.dll makes
# LoadLibrary fail).
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endforeach()

# CTest runs the cross-built programs through Wine.
set(TESSAPHON_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Throw-away Wine prefix the tests run in")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine.sh;run;${TESSAPHON_WINEPREFIX}")
