# cmake --install: the header, the library, a CMake package (klv::klv) and
# klv.pc for pkg-config.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(FILES ${PROJECT_SOURCE_DIR}/graphics/klv.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS klv EXPORT klvTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT klvTargets NAMESPACE klv:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/klv)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/klvConfig.cmake.in
  ${PROJECT_BINARY_DIR}/klvConfig.cmake INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/klv)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/klvConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/klvConfig.cmake ${PROJECT_BINARY_DIR}/klvConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/klv)
if(EMSCRIPTEN)
  # klv_web_program() for programs of the installed library, with the
  # page's files and the packed fonts.
  set(web ${CMAKE_INSTALL_LIBDIR}/cmake/klv)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/klvWebProgram.cmake DESTINATION ${web})
  install(FILES ${PROJECT_SOURCE_DIR}/platform/ui/web/klv_web.js ${PROJECT_SOURCE_DIR}/platform/ui/web/node_environment.js
    DESTINATION ${web}/web)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/ui/web/page DESTINATION ${web}/web)
  if(KLV_WEB_FONTS_DATA)
    install(FILES ${KLV_WEB_FONTS_DATA}/klv-fonts.data ${KLV_WEB_FONTS_DATA}/klv-fonts.js DESTINATION ${web}/web/fonts-packed)
  endif()
  unset(web)
endif()
file(RELATIVE_PATH KLV_PC_PREFIX_FROM_PCFILEDIR /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
if(EMSCRIPTEN)
  set(KLV_PC_REQUIRES "")
  set(KLV_PC_LIBS "-pthread")
elseif(WIN32)
  set(KLV_PC_REQUIRES "zlib")
  set(KLV_PC_LIBS "-luser32 -lgdi32 -lcomdlg32 -lwinspool -lpthread")
  if(NOT KLV_PNG_FROM_SOURCE)
    set(KLV_PC_REQUIRES "zlib libpng")
  endif()
else()
  set(KLV_PC_REQUIRES "x11 xext freetype2 fontconfig cairo libpng")
  set(KLV_PC_LIBS "-lX11 -lXext -lfreetype -lfontconfig -lcairo -lpng16 -lcups -lpthread")
endif()
if(NOT KLV_JPEG_FROM_SOURCE)
  string(APPEND KLV_PC_REQUIRES " libjpeg")
  string(PREPEND KLV_PC_LIBS "-ljpeg ")
endif()
if(NOT KLV_GIF_FROM_SOURCE)  # giflib has no pkg-config file everywhere: named in Libs only
  string(PREPEND KLV_PC_LIBS "-lgif ")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/klv.pc.in ${PROJECT_BINARY_DIR}/klv.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/klv.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
