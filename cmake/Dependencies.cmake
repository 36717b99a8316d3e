# Third-party libraries: cross-built by scripts/bootstrap into .deps/prefix, or
# taken from Debian's MinGW-w64 and header-only packages.
set(VANTOREL_DEPS_PREFIX ${CMAKE_SOURCE_DIR}/.deps/prefix)
if(NOT EXISTS ${VANTOREL_DEPS_PREFIX}/lib/libcurl.a)
  message(FATAL_ERROR "Third-party libraries are missing: run scripts/bootstrap first")
endif()

# Debian ships zlib for MinGW both as an import library and a static one; take the static one.
set(ZLIB_INCLUDE_DIR /usr/x86_64-w64-mingw32/include CACHE PATH "")
set(ZLIB_LIBRARY /usr/x86_64-w64-mingw32/lib/libz.a CACHE FILEPATH "")
find_package(ZLIB REQUIRED)
find_package(CURL CONFIG REQUIRED)
find_package(jsoncpp CONFIG REQUIRED)
find_package(GTest CONFIG REQUIRED)

add_library(lzma7z STATIC IMPORTED GLOBAL)
set_target_properties(lzma7z PROPERTIES
  IMPORTED_LOCATION ${VANTOREL_DEPS_PREFIX}/lib/liblzma7z.a
  INTERFACE_INCLUDE_DIRECTORIES ${VANTOREL_DEPS_PREFIX}/include/lzma7z)

# Only the stb folder, never all of /usr/include, reaches the cross compiler.
add_library(stb_image INTERFACE)
target_include_directories(stb_image SYSTEM INTERFACE /usr/include/stb)

find_program(SEVEN_ZIP 7zz REQUIRED)
