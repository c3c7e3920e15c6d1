# The browser page (preset "web", Emscripten): the program as zorvandrel.js
# and zorvandrel.wasm, and the static site around it in site/, zipped.
#
# Emscripten's JavaScript optimiser needs acorn, which Debian installs as a
# Node.js package (node-acorn) where Node.js finds it only through NODE_PATH.
set(ZV_NODE_PATH "/usr/share/nodejs" CACHE PATH "Where Emscripten's optimiser finds acorn")
set_property(TARGET zorvandrel PROPERTY CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${ZV_NODE_PATH})

set(ZV_WEB_DIR ${PROJECT_SOURCE_DIR}/web)
target_include_directories(zorvandrel_core SYSTEM PUBLIC ${ZV_WEB_DIR}/compat)
target_link_options(zorvandrel PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createZorvandrel -sENVIRONMENT=web
  -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=16384 -sDYNAMIC_EXECUTION=0
  -sFORCE_FILESYSTEM=1 -sEXIT_RUNTIME=0 -sTEXTDECODER=2
  --pre-js ${ZV_WEB_DIR}/program-pre.js)
set_property(TARGET zorvandrel APPEND PROPERTY LINK_DEPENDS ${ZV_WEB_DIR}/program-pre.js)

# xterm.js and its fit add-on, pinned by the lock file, installed with `npm ci` in the build tree.
set(ZV_NPM_DIR ${PROJECT_BINARY_DIR}/npm)
set(ZV_XTERM_DIR ${ZV_NPM_DIR}/node_modules/@xterm/xterm)
find_program(ZV_NPM npm REQUIRED)
add_custom_command(OUTPUT ${ZV_XTERM_DIR}/lib/xterm.js
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZV_NPM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${ZV_WEB_DIR}/package.json ${ZV_WEB_DIR}/package-lock.json ${ZV_NPM_DIR}
  COMMAND ${ZV_NPM} ci --no-audit --no-fund --ignore-scripts --prefix ${ZV_NPM_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${ZV_XTERM_DIR}/lib/xterm.js
  DEPENDS ${ZV_WEB_DIR}/package.json ${ZV_WEB_DIR}/package-lock.json
  COMMENT "Installing xterm.js with npm ci"
  VERBATIM)

# FAQ.txt with CR LF line ends, as in the Windows zip.
file(READ ${PROJECT_SOURCE_DIR}/FAQ.md ZV_FAQ)
string(REPLACE "\r\n" "\n" ZV_FAQ "${ZV_FAQ}")
string(REPLACE "\n" "\r\n" ZV_FAQ "${ZV_FAQ}")
file(WRITE ${PROJECT_BINARY_DIR}/FAQ.txt "${ZV_FAQ}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/FAQ.md)

# The page's own files, copied into the site as they are.
set(ZV_WEB_PAGE_FILES)
foreach(file index.html page.css page.js lang-en.js lang-ru.js language.js line-editor.js folder.js run.js offline.js)
  list(APPEND ZV_WEB_PAGE_FILES ${ZV_WEB_DIR}/${file})
endforeach()

set(ZV_SITE_DIR ${PROJECT_BINARY_DIR}/site)
set(ZV_WEB_ZIP ${PROJECT_BINARY_DIR}/zorvandrel-${PROJECT_VERSION}-web.zip)
add_custom_target(web_site ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZV_SITE_DIR} ${PROJECT_BINARY_DIR}/zorvandrel-${PROJECT_VERSION}-web
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZV_SITE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${ZV_WEB_PAGE_FILES}
          $<TARGET_FILE:zorvandrel> $<TARGET_FILE_DIR:zorvandrel>/zorvandrel.wasm ${PROJECT_BINARY_DIR}/FAQ.txt
          ${ZV_XTERM_DIR}/css/xterm.css ${ZV_SITE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${ZV_XTERM_DIR}/LICENSE ${ZV_SITE_DIR}/xterm-LICENSE.txt
  # The library without its source-map comment: the site has no map to fetch.
  COMMAND ${CMAKE_COMMAND} -DINPUT=${ZV_XTERM_DIR}/lib/xterm.js -DOUTPUT=${ZV_SITE_DIR}/xterm.js
          -P ${PROJECT_SOURCE_DIR}/cmake/strip_source_map.cmake
  COMMAND ${CMAKE_COMMAND} -DINPUT=${ZV_NPM_DIR}/node_modules/@xterm/addon-fit/lib/addon-fit.js
          -DOUTPUT=${ZV_SITE_DIR}/addon-fit.js -P ${PROJECT_SOURCE_DIR}/cmake/strip_source_map.cmake
  COMMAND ${CMAKE_COMMAND} -DINPUT=${ZV_NPM_DIR}/node_modules/@xterm/addon-unicode11/lib/addon-unicode11.js
          -DOUTPUT=${ZV_SITE_DIR}/addon-unicode11.js -P ${PROJECT_SOURCE_DIR}/cmake/strip_source_map.cmake
  # The zip holds one folder to unpack and serve.
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${ZV_SITE_DIR} ${PROJECT_BINARY_DIR}/zorvandrel-${PROJECT_VERSION}-web
  COMMAND ${CMAKE_COMMAND} -E rm -f ${ZV_WEB_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${ZV_WEB_ZIP} --format=zip zorvandrel-${PROJECT_VERSION}-web
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PROJECT_BINARY_DIR}/zorvandrel-${PROJECT_VERSION}-web
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS zorvandrel ${ZV_XTERM_DIR}/lib/xterm.js ${ZV_WEB_PAGE_FILES}
  BYPRODUCTS ${ZV_WEB_ZIP}
  COMMENT "Assembling the site and ${ZV_WEB_ZIP}"
  VERBATIM)
