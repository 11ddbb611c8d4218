# The browser build, configured through emcmake (scripts/web.sh does it):
# the same game sources compiled to WebAssembly against the toolchain's
# GLFW 3, WebGL 2 and OpenAL (on Web Audio), with the browser side of the
# platform boundary (web/*.cpp, web/include/) in place of the
# desktop's. It makes a plain static site in <build>/site: index.html,
# quorland.js and quorland.wasm, and the assets packed into assets.data
# (loaded by assets.js).
set(QUORLAND_WEB_SITE ${CMAKE_BINARY_DIR}/site)

# GLM and stb are header-only packages. Only their own folders may go on the
# include path: the host's /usr/include would shadow the toolchain's C library.
set(QUORLAND_WEB_HEADERS ${CMAKE_BINARY_DIR}/package-headers)
file(MAKE_DIRECTORY ${QUORLAND_WEB_HEADERS})
foreach(package glm stb)
  if(NOT EXISTS /usr/include/${package})
    message(FATAL_ERROR "/usr/include/${package} is missing: install the Debian package lib${package}-dev")
  endif()
  file(CREATE_LINK /usr/include/${package} ${QUORLAND_WEB_HEADERS}/${package} SYMBOLIC)
endforeach()

add_quorland_core()
# web/include comes before the toolchain's headers: its GL/glew.h and
# INIReader.h stand in for the desktop's.
target_include_directories(quorland_core SYSTEM PUBLIC
  ${CMAKE_CURRENT_SOURCE_DIR}/web/include ${QUORLAND_WEB_HEADERS})

# The browser side of the platform boundary, every source in web/, goes
# into the executable itself: the functions only the page calls would be
# left out of a library.
file(GLOB QUORLAND_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/web/*.cpp)
add_executable(quorland app/main.cpp ${QUORLAND_WEB_SOURCES})
target_link_libraries(quorland PRIVATE quorland_core)
set_target_properties(quorland PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${QUORLAND_WEB_SITE})
set_project_warnings(quorland)
target_link_options(quorland PRIVATE
  -sUSE_GLFW=3 -sUSE_WEBGL2=1 -sFULL_ES3=1 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1 -sENVIRONMENT=web -lopenal)

# The page's interface to the game (web/page_*.cpp): the frame loop
# awaits animation frames through Asyncify, only along the direct calls from
# main to the loop; web/page.js starts main itself (after fetching a served
# replay) and the page's scripts call the exported functions.
target_link_options(quorland PRIVATE -sASYNCIFY=1 -sASYNCIFY_IGNORE_INDIRECT=1
  "-sEXPORTED_FUNCTIONS=_main,_malloc,_free"
  "-sEXPORTED_RUNTIME_METHODS=callMain,UTF8ToString,stringToUTF8,lengthBytesUTF8,HEAPU8")

# The golden replays, served beside the page (?replay=NAME plays one).
file(GLOB QUORLAND_WEB_REPLAYS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/replays/*.replay)
set(QUORLAND_WEB_REPLAY_OUTPUTS)
foreach(file IN LISTS QUORLAND_WEB_REPLAYS)
  get_filename_component(name ${file} NAME)
  add_custom_command(
    OUTPUT ${QUORLAND_WEB_SITE}/replays/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${QUORLAND_WEB_SITE}/replays/${name}
    DEPENDS ${file})
  list(APPEND QUORLAND_WEB_REPLAY_OUTPUTS ${QUORLAND_WEB_SITE}/replays/${name})
endforeach()
add_custom_target(quorland_site_replays ALL DEPENDS ${QUORLAND_WEB_REPLAY_OUTPUTS})

# The assets, packed for the page's file system at /quorland/assets.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB_RECURSE QUORLAND_WEB_ASSETS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/assets/*)
add_custom_command(
  OUTPUT ${QUORLAND_WEB_SITE}/assets.data ${QUORLAND_WEB_SITE}/assets.js
  COMMAND ${Python3_EXECUTABLE} ${EMSCRIPTEN_ROOT_PATH}/tools/file_packager.py
    ${QUORLAND_WEB_SITE}/assets.data
    --preload ${CMAKE_CURRENT_SOURCE_DIR}/assets@/quorland/assets
    --js-output=${QUORLAND_WEB_SITE}/assets.js
  DEPENDS ${QUORLAND_WEB_ASSETS}
  COMMENT "Packing the assets for the page")
# The page itself: index.html and whatever scripts and styles lie beside it.
file(GLOB QUORLAND_WEB_PAGE_FILES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/web/*.html ${CMAKE_CURRENT_SOURCE_DIR}/web/*.js
  ${CMAKE_CURRENT_SOURCE_DIR}/web/*.css)
set(QUORLAND_WEB_PAGE_OUTPUTS)
foreach(file IN LISTS QUORLAND_WEB_PAGE_FILES)
  get_filename_component(name ${file} NAME)
  add_custom_command(
    OUTPUT ${QUORLAND_WEB_SITE}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${file} ${QUORLAND_WEB_SITE}/${name}
    DEPENDS ${file})
  list(APPEND QUORLAND_WEB_PAGE_OUTPUTS ${QUORLAND_WEB_SITE}/${name})
endforeach()
add_custom_target(quorland_site ALL DEPENDS
  ${QUORLAND_WEB_SITE}/assets.data ${QUORLAND_WEB_PAGE_OUTPUTS})
