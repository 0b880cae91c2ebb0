# libdeflate, which compresses and inflates the pixel data of PNG files: Debian's source package
# (fetched by scripts/setup.sh), compiled here as a static library of its own in every build, so
# that the host tests, the fuzzers (with their instrumentation, inherited from the build's options)
# and both Windows programs run the same code. On x86 the library picks its SIMD checksums and
# match finders at run time from the processor's features (lib/x86/cpu_features.c), so the 32-bit
# program, built for SSE2 only, still uses PCLMUL and AVX2 where the processor has them.
set(DEFLATE_SOURCE_DIR "${PROJECT_SOURCE_DIR}/build/deps/libdeflate")
if(NOT EXISTS "${DEFLATE_SOURCE_DIR}/libdeflate.h")
  message(FATAL_ERROR "libdeflate source missing at ${DEFLATE_SOURCE_DIR}: run scripts/setup.sh")
endif()
add_library(kamerin_deflate STATIC
  "${DEFLATE_SOURCE_DIR}/lib/utils.c"
  "${DEFLATE_SOURCE_DIR}/lib/x86/cpu_features.c"
  "${DEFLATE_SOURCE_DIR}/lib/arm/cpu_features.c"
  "${DEFLATE_SOURCE_DIR}/lib/deflate_compress.c"
  "${DEFLATE_SOURCE_DIR}/lib/deflate_decompress.c"
  "${DEFLATE_SOURCE_DIR}/lib/adler32.c"
  "${DEFLATE_SOURCE_DIR}/lib/zlib_compress.c"
  "${DEFLATE_SOURCE_DIR}/lib/zlib_decompress.c"
  "${DEFLATE_SOURCE_DIR}/lib/crc32.c")
target_include_directories(kamerin_deflate SYSTEM PUBLIC "${DEFLATE_SOURCE_DIR}")
target_include_directories(kamerin_deflate PRIVATE "${DEFLATE_SOURCE_DIR}")
set_target_properties(kamerin_deflate PROPERTIES C_STANDARD 99 C_STANDARD_REQUIRED ON C_EXTENSIONS ON)
# The library's own code is not held to the program's warnings. It is always optimised: the
# host's debug build would otherwise compress a screen picture many times slower than the program.
get_target_property(deflate_options kamerin_deflate COMPILE_OPTIONS)
list(REMOVE_ITEM deflate_options -Wall -Wextra)
set_target_properties(kamerin_deflate PROPERTIES COMPILE_OPTIONS "${deflate_options}")
target_compile_options(kamerin_deflate PRIVATE $<$<CONFIG:Debug>:-O2>)
target_compile_definitions(kamerin_deflate PRIVATE _ANSI_SOURCE)
