# libpng for the Windows build. mingw-w64 on Debian has zlib
# (libz-mingw-w64-dev) but no libpng, so the build compiles Debian's own
# libpng source (the one Linux links) into libklv.a: a saved PNG has the same
# bytes and a damaged one the same error on both sides.
#   KLV_PNG_SOURCE_DIR  libpng's unpacked source (scripts/build-windows.sh
#                       fetches it with `apt-get source` into the build folder)
# Without it, an installed libpng is used (MSYS2: mingw-w64-x86_64-libpng).
# The web build compiles zlib in as well (KLV_ZLIB_INCLUDE: its headers).
if(NOT KLV_ZLIB_INCLUDE)
  find_package(ZLIB REQUIRED)
endif()
set(KLV_PNG_SOURCE_DIR "" CACHE PATH "libpng's source, compiled into libklv.a")
if(KLV_PNG_SOURCE_DIR)
  set(names png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil
    pngset pngtrans pngwio pngwrite pngwtran pngwutil)
  list(TRANSFORM names PREPEND ${KLV_PNG_SOURCE_DIR}/)
  list(TRANSFORM names APPEND .c)
  add_library(klv_png OBJECT ${names})
  configure_file(${KLV_PNG_SOURCE_DIR}/scripts/pnglibconf.h.prebuilt
    ${PROJECT_BINARY_DIR}/libpng/pnglibconf.h COPYONLY)
  set(KLV_PNG_INCLUDE ${KLV_PNG_SOURCE_DIR} ${PROJECT_BINARY_DIR}/libpng)
  target_include_directories(klv_png PRIVATE ${KLV_PNG_INCLUDE})
  if(KLV_ZLIB_INCLUDE)
    target_include_directories(klv_png PRIVATE ${KLV_ZLIB_INCLUDE})
  else()
    target_link_libraries(klv_png PRIVATE ZLIB::ZLIB)
  endif()
  # Its own code, not ours: built without our warnings-as-errors.
  target_compile_options(klv_png PRIVATE -w)
  set(KLV_PNG_FROM_SOURCE ON)
else()
  find_package(PNG)
  if(NOT PNG_FOUND)
    message(FATAL_ERROR "The Windows build needs libpng: set KLV_PNG_SOURCE_DIR to its source "
      "(scripts/build-windows.sh does) or install it (MSYS2: mingw-w64-x86_64-libpng)")
  endif()
  set(KLV_PNG_FROM_SOURCE OFF)
endif()

# Links libpng (compiled in, or installed) and zlib into TARGET.
function(klv_link_png target)
  if(KLV_PNG_FROM_SOURCE)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:klv_png>)
    target_include_directories(${target} PRIVATE ${KLV_PNG_INCLUDE})
    if(NOT KLV_ZLIB_INCLUDE)
      target_link_libraries(${target} PRIVATE ZLIB::ZLIB)
    endif()
  else()
    target_link_libraries(${target} PRIVATE PNG::PNG ZLIB::ZLIB)
  endif()
endfunction()
