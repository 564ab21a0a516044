# The web build (emscripten): libklv.a for wasm32 with the libraries Linux
# links compiled in from Debian's own sources, so that a page draws the same
# pixels and writes the same files as Linux. scripts/build-web.sh fetches
# the sources with `apt-get source` into the build folder.
#   KLV_ZLIB_SOURCE_DIR      zlib's unpacked source
#   KLV_FREETYPE_SOURCE_DIR  FreeType's unpacked source
#   (KLV_PNG_SOURCE_DIR and KLV_JPEG_SOURCE_DIR as for Windows)
# Threads are real (pthreads on shared memory: main runs in a worker), and
# the engine's SSE2 steps map onto wasm SIMD.
set(KLV_ZLIB_SOURCE_DIR "" CACHE PATH "zlib's source, compiled into libklv.a")
set(KLV_FREETYPE_SOURCE_DIR "" CACHE PATH "FreeType's source, compiled into libklv.a")
foreach(source KLV_ZLIB_SOURCE_DIR KLV_FREETYPE_SOURCE_DIR KLV_PNG_SOURCE_DIR KLV_JPEG_SOURCE_DIR KLV_GIF_SOURCE_DIR)
  if(NOT ${source})
    message(FATAL_ERROR "The web build compiles Debian's sources of zlib, libpng, FreeType, libjpeg-turbo and giflib: "
      "set ${source} (scripts/build-web.sh does)")
  endif()
endforeach()
add_compile_options(-pthread -fwasm-exceptions -msimd128 -msse2)
add_link_options(-pthread -fwasm-exceptions)

set(names adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees
  trees uncompr zutil)
list(TRANSFORM names PREPEND ${KLV_ZLIB_SOURCE_DIR}/)
list(TRANSFORM names APPEND .c)
add_library(klv_zlib OBJECT ${names})
target_compile_definitions(klv_zlib PRIVATE HAVE_UNISTD_H)
target_compile_options(klv_zlib PRIVATE -w)  # their code, not ours
set(KLV_ZLIB_INCLUDE ${KLV_ZLIB_SOURCE_DIR})

# FreeType with every module of its default list (as Debian builds it), zlib
# for its compressed fonts.
set(ft ${KLV_FREETYPE_SOURCE_DIR}/src)
set(names base/ftsystem base/ftinit base/ftdebug base/ftbase base/ftbbox base/ftbdf base/ftbitmap base/ftcid
  base/ftfstype base/ftgasp base/ftglyph base/ftgxval base/ftmm base/ftotval base/ftpatent base/ftpfr
  base/ftstroke base/ftsynth base/fttype1 base/ftwinfnt
  autofit/autofit truetype/truetype type1/type1 cff/cff cid/type1cid pfr/pfr type42/type42 winfonts/winfnt
  pcf/pcf bdf/bdf psaux/psaux psnames/psnames pshinter/pshinter sfnt/sfnt smooth/smooth raster/raster
  sdf/sdf svg/svg gzip/ftgzip lzw/ftlzw)
list(TRANSFORM names PREPEND ${ft}/)
list(TRANSFORM names APPEND .c)
add_library(klv_freetype OBJECT ${names})
set(KLV_FREETYPE_INCLUDE ${KLV_FREETYPE_SOURCE_DIR}/include)
target_include_directories(klv_freetype PRIVATE ${KLV_FREETYPE_INCLUDE} ${KLV_ZLIB_INCLUDE})
target_compile_definitions(klv_freetype PRIVATE FT2_BUILD_LIBRARY FT_CONFIG_OPTION_SYSTEM_ZLIB)
target_compile_options(klv_freetype PRIVATE -w)
unset(ft)
unset(names)

include(cmake/libpng.cmake)

# The libraries' objects go into libklv.a itself: a program links the one
# library.
function(klv_link_web_libraries target)
  target_sources(${target} PRIVATE $<TARGET_OBJECTS:klv_zlib> $<TARGET_OBJECTS:klv_freetype>)
  target_include_directories(${target} PRIVATE ${KLV_FREETYPE_INCLUDE} ${KLV_ZLIB_INCLUDE})
  klv_link_png(${target})
  # A program of the library is compiled as it is: threads, wasm exceptions.
  target_compile_options(${target} INTERFACE -pthread -fwasm-exceptions)
  target_link_options(${target} INTERFACE -pthread -fwasm-exceptions)
endfunction()

include(cmake/klvWebProgram.cmake)

# index.html of the build folder: the gallery, a card for each program with
# its picture (docs/), its source's opening comment, and
# a link that runs it; the pie chart first.
function(klv_web_gallery)
  set(cards "")
  foreach(source ${PROJECT_SOURCE_DIR}/app/main.cpp ${ARGN})
    get_filename_component(name ${source} NAME_WE)
    set(picture ${name})
    if(name STREQUAL "main")
      set(name pie_chart)
      set(picture pie-chart)
    endif()
    file(STRINGS ${source} lines LIMIT_COUNT 8)
    set(first "")
    foreach(line ${lines})
      if(NOT line MATCHES "^// *[^ ]")
        break()
      endif()
      string(REGEX REPLACE "^// *" "" line "${line}")
      string(APPEND first " ${line}")
    endforeach()
    string(STRIP "${first}" first)
    string(REPLACE "&" "&amp;" first "${first}")
    string(REPLACE "<" "&lt;" first "${first}")
    set(image "")
    if(EXISTS ${PROJECT_SOURCE_DIR}/docs/${picture}.png)
      configure_file(${PROJECT_SOURCE_DIR}/docs/${picture}.png ${PROJECT_BINARY_DIR}/docs/${picture}.png COPYONLY)
      set(image "<img src=\"docs/${picture}.png\" alt=\"\" width=\"320\">")
    endif()
    # A picture the program loads from docs/ comes with it (?files=).
    file(STRINGS ${source} loads REGEX "\"docs/[A-Za-z0-9_.-]+\"" LIMIT_COUNT 1)
    set(query "")
    if(loads MATCHES "\"(docs/[A-Za-z0-9_.-]+)\"")
      set(query "?files=${CMAKE_MATCH_1}")
      configure_file(${PROJECT_SOURCE_DIR}/${CMAKE_MATCH_1} ${PROJECT_BINARY_DIR}/${CMAKE_MATCH_1} COPYONLY)
    endif()
    string(APPEND cards "<li class=\"card\"><a href=\"${name}.html${query}\">${image}<h2>${name}</h2></a><p>${first}</p></li>\n")
  endforeach()
  set(KLV_GALLERY_CARDS "${cards}")
  configure_file(${KLV_WEB_FILES}/page/index.html.in ${PROJECT_BINARY_DIR}/index.html @ONLY)
endfunction()
