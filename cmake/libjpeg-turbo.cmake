# libjpeg-turbo: Debian's library for the host build; for Windows, a static build of Debian's
# source package (fetched by scripts/setup.sh) with its SIMD code; for the fuzzers, the same source
# built with their instrumentation, so that they see inside the library. Built once per build folder.
if(NOT WIN32 AND NOT KAMERIN_FUZZ)
  find_package(JPEG REQUIRED)
  add_library(kamerin_jpeg INTERFACE)
  target_link_libraries(kamerin_jpeg INTERFACE JPEG::JPEG)
  return()
endif()

include(ExternalProject)
set(JPEG_SOURCE_DIR "${PROJECT_SOURCE_DIR}/build/deps/libjpeg-turbo")
if(NOT EXISTS "${JPEG_SOURCE_DIR}/CMakeLists.txt")
  message(FATAL_ERROR "libjpeg-turbo source missing at ${JPEG_SOURCE_DIR}: run scripts/setup.sh")
endif()
set(JPEG_INSTALL_DIR "${CMAKE_BINARY_DIR}/libjpeg-turbo")
if(WIN32)
  set(JPEG_PLATFORM_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
                         -DCMAKE_BUILD_TYPE=Release -DWITH_SIMD=ON -DREQUIRE_SIMD=ON)
else()
  set(JPEG_PLATFORM_ARGS -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER} -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWITH_SIMD=OFF
                         "-DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer")
endif()
ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR "${JPEG_SOURCE_DIR}"
  BINARY_DIR "${CMAKE_BINARY_DIR}/libjpeg-turbo-build"
  INSTALL_DIR "${JPEG_INSTALL_DIR}"
  CMAKE_ARGS
    ${JPEG_PLATFORM_ARGS}
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR> -DCMAKE_INSTALL_LIBDIR=<INSTALL_DIR>/lib
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF
  BUILD_BYPRODUCTS "${JPEG_INSTALL_DIR}/lib/libjpeg.a"
)
file(MAKE_DIRECTORY "${JPEG_INSTALL_DIR}/include")
add_library(kamerin_jpeg_static STATIC IMPORTED)
set_target_properties(kamerin_jpeg_static PROPERTIES IMPORTED_LOCATION "${JPEG_INSTALL_DIR}/lib/libjpeg.a")
add_dependencies(kamerin_jpeg_static libjpeg_turbo_build)
add_library(kamerin_jpeg INTERFACE)
target_include_directories(kamerin_jpeg INTERFACE "${JPEG_INSTALL_DIR}/include")
target_link_libraries(kamerin_jpeg INTERFACE kamerin_jpeg_static)
