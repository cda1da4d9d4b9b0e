# Dependencies come from Debian's packages; the set-up script puts their sources in DEPS_CACHE.

# zlib for the target: libz-mingw-w64-dev, its static library, linked into the plug-in.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

# minizip, compiled from Debian's zlib source (contrib/minizip).
set(MINIZIP_DIR ${DEPS_CACHE}/zlib-src/contrib/minizip)
if(NOT EXISTS ${MINIZIP_DIR}/unzip.c)
  message(FATAL_ERROR "minizip sources not found in ${MINIZIP_DIR}; run scripts/setup.sh")
endif()
add_library(minizip STATIC
  ${MINIZIP_DIR}/ioapi.c ${MINIZIP_DIR}/iowin32.c ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/zip.c)
target_include_directories(minizip SYSTEM PUBLIC ${MINIZIP_DIR})
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
target_compile_options(minizip PRIVATE -w)

# GoogleTest and GoogleMock from the googletest package's sources.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Qt 5 Core (QString), cross-built once by the set-up into the dependency cache.
include(${CMAKE_CURRENT_LIST_DIR}/Qt5Core.cmake)
