# giflib, for writing animated GIF files (record_frames). On Linux the
# installed library (Debian's libgif-dev). Builds that have none to link (the
# Windows build: mingw-w64 on Debian has no giflib) compile Debian's own
# giflib source, the one Linux links, into libklv.a: its encoder only.
#   KLV_GIF_SOURCE_DIR  giflib's unpacked source (scripts/build-windows.sh
#                       fetches it with `apt-get source` into the build folder)
# Without it, an installed giflib is used (MSYS2: mingw-w64-x86_64-giflib).
#
# Used as: include(cmake/giflib.cmake), then klv_link_gif(TARGET).
set(KLV_GIF_SOURCE_DIR "" CACHE PATH "giflib's source, compiled into libklv.a")

if(KLV_GIF_SOURCE_DIR)
  if(NOT EXISTS ${KLV_GIF_SOURCE_DIR}/egif_lib.c)
    message(FATAL_ERROR "KLV_GIF_SOURCE_DIR (${KLV_GIF_SOURCE_DIR}) is not giflib's source: it has no egif_lib.c")
  endif()
  # The encoder's files, as giflib's own Makefile names them.
  set(names egif_lib gif_err gif_hash gifalloc openbsd-reallocarray)
  list(TRANSFORM names PREPEND ${KLV_GIF_SOURCE_DIR}/)
  list(TRANSFORM names APPEND .c)
  add_library(klv_gif OBJECT ${names})
  set(KLV_GIF_INCLUDE ${KLV_GIF_SOURCE_DIR})
  target_include_directories(klv_gif PRIVATE ${KLV_GIF_INCLUDE})
  # Its own code, not ours: built without our warnings-as-errors.
  target_compile_options(klv_gif PRIVATE -w)
  set(KLV_GIF_FROM_SOURCE ON)
else()
  find_package(GIF 5)
  if(NOT GIF_FOUND)
    message(FATAL_ERROR "KLV graphics needs giflib 5: install Debian's libgif-dev (scripts/install-deps.sh does), "
      "or set KLV_GIF_SOURCE_DIR to giflib's source (scripts/build-windows.sh does)")
  endif()
  set(KLV_GIF_FROM_SOURCE OFF)
endif()

# Links giflib (compiled in, or installed) into TARGET.
function(klv_link_gif target)
  if(KLV_GIF_FROM_SOURCE)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:klv_gif>)
    target_include_directories(${target} PRIVATE ${KLV_GIF_INCLUDE})
  else()
    target_link_libraries(${target} PRIVATE GIF::GIF)
  endif()
endfunction()
