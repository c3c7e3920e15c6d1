# The browser page (preset "web", Emscripten): the program as zorvandrel.js
# and zorvandrel.wasm, and the static site around it in site/, zipped, each
# file the page loads named by its content's hash (web/tools/name-by-content.js).
# For the page opened from disk, where it may not fetch, the same WebAssembly is
# also written as a script, zorvandrel-wasm.js (web/tools/wasm-as-script.js).
#
# Emscripten's JavaScript optimiser needs acorn, which Debian installs as a
# Node.js package (node-acorn) where Node.js finds it only through NODE_PATH.
set(ZV_NODE_PATH "/usr/share/nodejs" CACHE PATH "Where Emscripten's optimiser finds acorn")

set(ZV_WEB_DIR ${PROJECT_SOURCE_DIR}/web)
target_include_directories(zorvandrel_core SYSTEM PUBLIC ${ZV_WEB_DIR}/program/compat)
set(ZV_PROGRAM_LINK_OPTIONS
  -sMODULARIZE=1 -sENVIRONMENT=web
  -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=16384 -sDYNAMIC_EXECUTION=0
  -sFORCE_FILESYSTEM=1 -sEXIT_RUNTIME=0 -sTEXTDECODER=2
  --pre-js ${ZV_WEB_DIR}/program/program-pre.js)

target_link_options(zorvandrel PRIVATE ${ZV_PROGRAM_LINK_OPTIONS} -sEXPORT_NAME=createZorvandrel)
set_property(TARGET zorvandrel PROPERTY CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${ZV_NODE_PATH})
set_property(TARGET zorvandrel APPEND PROPERTY LINK_DEPENDS ${ZV_WEB_DIR}/program/program-pre.js)

# xterm.js and its add-ons, esbuild, which bundles the page's modules, Workbox, which writes the
# service worker, and the tests' and checks' tools (TypeScript, ESLint, Prettier), pinned by the lock
# file, installed with `npm ci` in the build tree: the one node_modules of the checkout (tools find it
# by path, NODE_PATH, or the tsconfig files written below).
set(ZV_NPM_DIR ${PROJECT_BINARY_DIR}/npm)
set(ZV_XTERM_DIR ${ZV_NPM_DIR}/node_modules/@xterm/xterm)
find_program(ZV_NPM npm REQUIRED)
find_program(ZV_NODE node REQUIRED)
add_custom_command(OUTPUT ${ZV_XTERM_DIR}/lib/xterm.js
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZV_NPM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${ZV_WEB_DIR}/package.json ${ZV_WEB_DIR}/package-lock.json ${ZV_NPM_DIR}
  COMMAND ${ZV_NPM} ci --no-audit --no-fund --ignore-scripts --prefix ${ZV_NPM_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${ZV_XTERM_DIR}/lib/xterm.js
  DEPENDS ${ZV_WEB_DIR}/package.json ${ZV_WEB_DIR}/package-lock.json
  COMMENT "Installing xterm.js and Workbox with npm ci"
  VERBATIM)

# FAQ.txt and README.txt with CR LF line ends, as in the Windows zip, and
# their Russian forms. Those start with UTF-8's byte-order mark: a server that
# sends .txt with no charset (Python's http.server, Apache's and nginx's
# defaults) would otherwise have the browser read them as windows-1252.
function(zv_text_with_crlf source target)
  file(READ ${PROJECT_SOURCE_DIR}/${source} content)
  string(REPLACE "\r\n" "\n" content "${content}")
  string(REPLACE "\n" "\r\n" content "${content}")
  if(ARGV2 STREQUAL "BOM")
    string(ASCII 239 187 191 bom)
    string(PREPEND content "${bom}")
  endif()
  file(WRITE ${PROJECT_BINARY_DIR}/${target} "${content}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
endfunction()
zv_text_with_crlf(FAQ.md FAQ.txt)
zv_text_with_crlf(web/help/README.txt README.txt)
zv_text_with_crlf(web/help/FAQ.ru.md FAQ.ru.txt BOM)
zv_text_with_crlf(web/help/README.ru.txt README.ru.txt BOM)

# TypeScript's checker over the page's JSDoc types: web/tsconfig.json (the page, the program's glue
# and the worker, in the browser) and web/tsconfig.node.json (the build's steps and the tests, under
# Node.js), each told here where node_modules is: tsc -p build/web/tsconfig[.node].checked.json.
foreach(project tsconfig tsconfig.node)
  file(WRITE ${PROJECT_BINARY_DIR}/${project}.checked.json "{
  \"extends\": \"${ZV_WEB_DIR}/${project}.json\",
  \"compilerOptions\": {
    \"typeRoots\": [\"${ZV_NPM_DIR}/node_modules/@types\"],
    \"paths\": { \"*\": [\"${ZV_NPM_DIR}/node_modules/*\"] }
  }
}
")
endforeach()

# The page's own files, copied into the site as they are, and its modules
# (web/page/*.js), bundled from page.js into the site's one page.js by esbuild.
set(ZV_WEB_PAGE_FILES)
foreach(file index.html page.css manifest.webmanifest icon.svg icon-192.png icon-512.png)
  list(APPEND ZV_WEB_PAGE_FILES ${ZV_WEB_DIR}/page/${file})
endforeach()
file(GLOB ZV_WEB_PAGE_MODULES CONFIGURE_DEPENDS ${ZV_WEB_DIR}/page/*.js)
set(ZV_ESBUILD ${ZV_NPM_DIR}/node_modules/.bin/esbuild)
set(ZV_BUNDLE_OPTIONS --bundle --format=iife --target=es2022 --charset=utf8 --log-level=warning)

set(ZV_SITE_DIR ${PROJECT_BINARY_DIR}/site)
set(ZV_WEB_ZIP ${PROJECT_BINARY_DIR}/zorvandrel-${PROJECT_VERSION}-web.zip)
add_custom_target(web_site ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZV_SITE_DIR} ${PROJECT_BINARY_DIR}/zorvandrel-${PROJECT_VERSION}-web
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZV_SITE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${ZV_WEB_PAGE_FILES}
          $<TARGET_FILE:zorvandrel> $<TARGET_FILE_DIR:zorvandrel>/zorvandrel.wasm
          ${PROJECT_BINARY_DIR}/FAQ.txt ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/FAQ.ru.txt
          ${PROJECT_BINARY_DIR}/README.ru.txt ${ZV_XTERM_DIR}/css/xterm.css ${ZV_SITE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${ZV_XTERM_DIR}/LICENSE ${ZV_SITE_DIR}/xterm-LICENSE.txt
  # The page's modules as one classic script (a page opened from disk refuses module scripts), and
  # what esbuild read for it (page-bundle.json, beside the site); the benchmark's floor likewise.
  COMMAND ${ZV_ESBUILD} ${ZV_WEB_DIR}/page/page.js ${ZV_BUNDLE_OPTIONS} --outfile=${ZV_SITE_DIR}/page.js
          --metafile=${PROJECT_BINARY_DIR}/page-bundle.json
  COMMAND ${ZV_ESBUILD} ${ZV_WEB_DIR}/program/program-load.js ${ZV_BUNDLE_OPTIONS}
          --outfile=${ZV_SITE_DIR}/program-load.js
  COMMAND ${ZV_ESBUILD} ${PROJECT_SOURCE_DIR}/bench/floor.js ${ZV_BUNDLE_OPTIONS}
          --outfile=${PROJECT_BINARY_DIR}/bench/floor.js
  COMMAND ${ZV_NODE} ${ZV_WEB_DIR}/tools/wasm-as-script.js $<TARGET_FILE_DIR:zorvandrel>/zorvandrel.wasm
          ${ZV_SITE_DIR}/zorvandrel-wasm.js
  # The library without its source-map comment: the site has no map to fetch.
  COMMAND ${CMAKE_COMMAND} -DINPUT=${ZV_XTERM_DIR}/lib/xterm.js -DOUTPUT=${ZV_SITE_DIR}/xterm.js
          -P ${PROJECT_SOURCE_DIR}/cmake/strip_source_map.cmake
  COMMAND ${CMAKE_COMMAND} -DINPUT=${ZV_NPM_DIR}/node_modules/@xterm/addon-fit/lib/addon-fit.js
          -DOUTPUT=${ZV_SITE_DIR}/addon-fit.js -P ${PROJECT_SOURCE_DIR}/cmake/strip_source_map.cmake
  COMMAND ${CMAKE_COMMAND} -DINPUT=${ZV_NPM_DIR}/node_modules/@xterm/addon-unicode11/lib/addon-unicode11.js
          -DOUTPUT=${ZV_SITE_DIR}/addon-unicode11.js -P ${PROJECT_SOURCE_DIR}/cmake/strip_source_map.cmake
  # Each file the page loads named by its content's hash (page.3f2a9c1b.js), and index.html to match.
  COMMAND ${ZV_NODE} ${ZV_WEB_DIR}/tools/name-by-content.js ${ZV_SITE_DIR}
  # The service worker, last: it lists every file of the site with its content's hash.
  COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=${ZV_NPM_DIR}/node_modules
          ${ZV_NODE} ${ZV_WEB_DIR}/tools/write-service-worker.js ${ZV_SITE_DIR}
  # The zip holds one folder to unpack and serve.
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${ZV_SITE_DIR} ${PROJECT_BINARY_DIR}/zorvandrel-${PROJECT_VERSION}-web
  COMMAND ${CMAKE_COMMAND} -E rm -f ${ZV_WEB_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${ZV_WEB_ZIP} --format=zip zorvandrel-${PROJECT_VERSION}-web
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PROJECT_BINARY_DIR}/zorvandrel-${PROJECT_VERSION}-web
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS zorvandrel ${ZV_XTERM_DIR}/lib/xterm.js ${ZV_WEB_PAGE_FILES} ${ZV_WEB_PAGE_MODULES}
          ${ZV_WEB_DIR}/program/program-load.js ${PROJECT_SOURCE_DIR}/bench/floor.js
          ${ZV_WEB_DIR}/tools/wasm-as-script.js
          ${ZV_WEB_DIR}/tools/name-by-content.js ${ZV_WEB_DIR}/tools/write-service-worker.js
  BYPRODUCTS ${ZV_WEB_ZIP}
  COMMENT "Assembling the site and ${ZV_WEB_ZIP}"
  VERBATIM)
