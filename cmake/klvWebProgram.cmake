# klv_web_program(TARGET [TITLE text] [NODE]): links TARGET, a program using
# KLV graphics built with emscripten, as a page: TARGET.js, TARGET.wasm and
# its worker, beside TARGET.html (the page, titled TITLE, default the
# target's name) and the folder klv-web/ that every page shares (the packed
# fonts, the page's script and style). NODE: a program run under node
# instead (tests, benchmarks): the machine's own files and environment, no
# page. Installed with the library (find_package(klv) gives it).
set(KLV_WEB_FILES ${CMAKE_CURRENT_LIST_DIR}/../platform/ui/web CACHE INTERNAL "")
if(NOT EXISTS ${KLV_WEB_FILES}/klv_web.js)
  set(KLV_WEB_FILES ${CMAKE_CURRENT_LIST_DIR}/web CACHE INTERNAL "")  # installed beside this file
endif()
if(NOT KLV_WEB_FONTS_DATA AND EXISTS ${KLV_WEB_FILES}/fonts-packed/klv-fonts.data)
  set(KLV_WEB_FONTS_DATA ${KLV_WEB_FILES}/fonts-packed)
endif()

function(klv_web_link_options target)
  # main runs in a worker and may block; the page's own thread paints and
  # takes the DOM's events. A window thread each, and one for a dialog.
  target_link_options(${target} PRIVATE -pthread -fwasm-exceptions -sPROXY_TO_PTHREAD -sEXIT_RUNTIME
    -sALLOW_MEMORY_GROWTH -sMAXIMUM_MEMORY=4GB -sTOTAL_STACK=2097152 -sDEFAULT_PTHREAD_STACK_SIZE=2097152
    -sPTHREAD_POOL_SIZE=3 -sPTHREAD_POOL_SIZE_STRICT=0 -sFORCE_FILESYSTEM
    --js-library ${KLV_WEB_FILES}/klv_web.js
    "-sEXPORTED_FUNCTIONS=_main,_malloc,_free,_klv_page_frame_begin,_klv_page_frame_end,_klv_page_key,_klv_page_pointer,_klv_page_menu,_klv_page_menu_pointer,_klv_page_close"
    "-sEXPORTED_RUNTIME_METHODS=ENV,FS,callMain")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${KLV_WEB_FILES}/klv_web.js)
endfunction()

function(klv_web_program target)
  cmake_parse_arguments(ARG "NODE" "TITLE" "" ${ARGN})
  set_target_properties(${target} PROPERTIES SUFFIX .js)
  klv_web_link_options(${target})
  if(ARG_NODE)
    target_link_options(${target} PRIVATE -sNODERAWFS -sENVIRONMENT=node,worker
      --pre-js ${KLV_WEB_FILES}/node_environment.js)
    return()
  endif()
  target_link_options(${target} PRIVATE -sENVIRONMENT=web,worker -sMODULARIZE=0 -sINVOKE_RUN=1)
  if(NOT ARG_TITLE)
    set(ARG_TITLE ${target})
  endif()
  set(KLV_PAGE_TITLE ${ARG_TITLE})
  set(KLV_PAGE_SCRIPT ${target}.js)
  get_target_property(out ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT out)
    set(out ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  configure_file(${KLV_WEB_FILES}/page/program.html.in ${out}/${target}.html @ONLY)
  klv_web_shared_files(${out})
endfunction()

# klv-web/ of FOLDER: the page's script, style and service worker, and the
# packed fonts (KLV_WEB_FONTS_DATA, made by scripts/build-web.sh).
function(klv_web_shared_files folder)
  configure_file(${KLV_WEB_FILES}/page/klv-isolation.js ${folder}/klv-isolation.js COPYONLY)
  foreach(name klv-page.js klv-page.css)
    configure_file(${KLV_WEB_FILES}/page/${name} ${folder}/klv-web/${name} COPYONLY)
  endforeach()
  if(KLV_WEB_FONTS_DATA)
    foreach(name klv-fonts.data klv-fonts.js)
      configure_file(${KLV_WEB_FONTS_DATA}/${name} ${folder}/klv-web/${name} COPYONLY)
    endforeach()
  endif()
endfunction()
