# libjpeg-turbo, for reading JPEG files. On Linux the installed library
# (Debian's libjpeg-dev). Builds that have none to link (the Windows build:
# mingw-w64 on Debian has no libjpeg) compile Debian's own libjpeg-turbo
# source, the one Linux links, into libklv.a: its decoder only, in plain C
# (without the SIMD code, which needs an assembler and differs by
# processor), so a JPEG file gives the same pixels and the same errors on
# every side.
#   KLV_JPEG_SOURCE_DIR  libjpeg-turbo's unpacked source (scripts/build-windows.sh
#                        fetches it with `apt-get source` into the build folder)
# Without it, an installed libjpeg is used (MSYS2: mingw-w64-x86_64-libjpeg-turbo).
#
# Used as: include(cmake/libjpeg.cmake), then klv_link_jpeg(TARGET).
set(KLV_JPEG_SOURCE_DIR "" CACHE PATH "libjpeg-turbo's source, compiled into libklv.a")

# jconfig.h, jconfigint.h and jversion.h of the source in DIR, made in OUT
# with what their templates ask for: the libjpeg 6b interface, 8-bit
# samples, arithmetic decoding, no SIMD. (A function: the templates'
# variables stay inside it.)
function(klv_configure_libjpeg dir out)
  file(STRINGS ${dir}/CMakeLists.txt version_line REGEX "^set\\(VERSION [0-9.]+\\)")
  string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" VERSION "${version_line}")
  if(NOT VERSION)
    message(FATAL_ERROR "KLV_JPEG_SOURCE_DIR (${dir}) is not libjpeg-turbo's source: no version in its CMakeLists.txt")
  endif()
  string(REPLACE "." ";" parts ${VERSION})
  list(GET parts 0 major)
  list(GET parts 1 minor)
  list(GET parts 2 revision)
  math(EXPR LIBJPEG_TURBO_VERSION_NUMBER "${major} * 1000000 + ${minor} * 1000 + ${revision}")
  set(JPEG_LIB_VERSION 62)
  set(BITS_IN_JSAMPLE 8)
  set(C_ARITH_CODING_SUPPORTED 1)
  set(D_ARITH_CODING_SUPPORTED 1)
  set(MEM_SRCDST_SUPPORTED 1)
  set(WITH_SIMD 0)
  set(BUILD "klv")
  set(INLINE "__inline__ __attribute__((always_inline))")
  set(THREAD_LOCAL "__thread")
  set(CMAKE_PROJECT_NAME "libjpeg-turbo")
  set(SIZE_T ${CMAKE_SIZEOF_VOID_P})
  file(STRINGS ${dir}/CMakeLists.txt year_line REGEX "^set\\(COPYRIGHT_YEAR ")
  string(REGEX MATCH "[0-9-]+" COPYRIGHT_YEAR "${year_line}")
  foreach(name jconfig.h jconfigint.h jversion.h)
    configure_file(${dir}/${name}.in ${out}/${name})
  endforeach()
endfunction()

if(KLV_JPEG_SOURCE_DIR)
  set(dir ${KLV_JPEG_SOURCE_DIR})
  set(generated ${PROJECT_BINARY_DIR}/libjpeg)
  klv_configure_libjpeg(${dir} ${generated})
  # The decoder's files, as libjpeg-turbo's own CMakeLists.txt names them.
  set(names jaricom jcomapi jdapimin jdapistd jdarith jdatasrc jdcoefct jdcolor jddctmgr jdhuff
    jdinput jdmainct jdmarker jdmaster jdmerge jdphuff jdpostct jdsample jerror jidctflt jidctfst
    jidctint jidctred jmemmgr jmemnobs jquant1 jquant2 jutils jsimd_none)
  list(TRANSFORM names PREPEND ${dir}/)
  list(TRANSFORM names APPEND .c)
  add_library(klv_jpeg OBJECT ${names})
  set(KLV_JPEG_INCLUDE ${generated} ${dir})
  target_include_directories(klv_jpeg PRIVATE ${KLV_JPEG_INCLUDE})
  # Its own code, not ours: built without our warnings-as-errors.
  target_compile_options(klv_jpeg PRIVATE -w)
  set(KLV_JPEG_FROM_SOURCE ON)
  unset(dir)
  unset(generated)
else()
  find_package(JPEG)
  if(NOT JPEG_FOUND)
    message(FATAL_ERROR "KLV graphics needs libjpeg: install Debian's libjpeg-dev (scripts/install-deps.sh does), "
      "or set KLV_JPEG_SOURCE_DIR to libjpeg-turbo's source (scripts/build-windows.sh does)")
  endif()
  set(KLV_JPEG_FROM_SOURCE OFF)
endif()

# Links libjpeg (compiled in, or installed) into TARGET.
function(klv_link_jpeg target)
  if(KLV_JPEG_FROM_SOURCE)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:klv_jpeg>)
    target_include_directories(${target} PRIVATE ${KLV_JPEG_INCLUDE})
  else()
    target_link_libraries(${target} PRIVATE JPEG::JPEG)
  endif()
endfunction()
