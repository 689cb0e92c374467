# libjpeg-turbo, the JPEG decoder of the Chromium engine library's frames: built
# here for 64-bit Windows, as a static library with its SIMD code (nasm), from the
# source Debian ships (the archive is kept in ~/.cache/korva once fetched, and
# checked against Debian's own checksum).
#
# Gives the interface target korva_jpeg: its headers (jpeglib.h) and libjpeg.a, and
# the build order that puts the library before anything that includes them.
include(ExternalProject)

set(KORVA_JPEG_ARSIVI libjpeg-turbo_2.1.5.orig.tar.gz)
set(KORVA_JPEG_SHA256 254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c)
if(DEFINED ENV{XDG_CACHE_HOME})
  set(KORVA_ONBELLEK $ENV{XDG_CACHE_HOME}/korva)
else()
  set(KORVA_ONBELLEK $ENV{HOME}/.cache/korva)
endif()

set(KORVA_JPEG_KAYNAK ${CMAKE_BINARY_DIR}/libjpeg-turbo/kaynak)
set(KORVA_JPEG_DERLEME ${CMAKE_BINARY_DIR}/libjpeg-turbo/derleme)
ExternalProject_Add(libjpeg_turbo
  URL http://deb.debian.org/debian/pool/main/libj/libjpeg-turbo/${KORVA_JPEG_ARSIVI}
  URL_HASH SHA256=${KORVA_JPEG_SHA256}
  DOWNLOAD_DIR ${KORVA_ONBELLEK}
  DOWNLOAD_EXTRACT_TIMESTAMP ON
  SOURCE_DIR ${KORVA_JPEG_KAYNAK}
  BINARY_DIR ${KORVA_JPEG_DERLEME}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${CMAKE_BINARY_DIR}/libjpeg-turbo/kurulum
    -DENABLE_SHARED=OFF
    -DWITH_TURBOJPEG=OFF
    -DWITH_JAVA=OFF
    -DREQUIRE_SIMD=ON
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${KORVA_JPEG_DERLEME}/libjpeg.a
  LOG_DOWNLOAD ON
  LOG_CONFIGURE ON
  LOG_BUILD ON
  LOG_OUTPUT_ON_FAILURE ON)

# The include folders must exist when the build is generated, before the download.
file(MAKE_DIRECTORY ${KORVA_JPEG_KAYNAK} ${KORVA_JPEG_DERLEME})
add_library(korva_jpeg INTERFACE)
target_include_directories(korva_jpeg SYSTEM INTERFACE ${KORVA_JPEG_KAYNAK} ${KORVA_JPEG_DERLEME})
target_link_libraries(korva_jpeg INTERFACE ${KORVA_JPEG_DERLEME}/libjpeg.a)
add_dependencies(korva_jpeg libjpeg_turbo)
