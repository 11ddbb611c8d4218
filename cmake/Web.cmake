# The browser build, configured through emcmake (scripts/web.sh does it):
# the same game sources compiled to WebAssembly against the toolchain's
# GLFW 3 and WebGL 2, with the browser side of the platform boundary
# (web/platform_web.cpp, web/include/) in place of the desktop's. It makes a
# plain static site in <build>/site: index.html, quorland.js and
# quorland.wasm, and the assets packed into assets.data (loaded by assets.js).
set(QUORLAND_WEB_SITE ${CMAKE_BINARY_DIR}/site)

file(GLOB_RECURSE QUORLAND_WEB_SOURCES CONFIGURE_DEPENDS
  app/*.cpp framework/*.cpp game/*.cpp render/*.cpp view/*.cpp)
list(REMOVE_ITEM QUORLAND_WEB_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/framework/platform_desktop.cpp)
list(APPEND QUORLAND_WEB_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/web/platform_web.cpp)

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

add_executable(quorland ${QUORLAND_WEB_SOURCES})
set_target_properties(quorland PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${QUORLAND_WEB_SITE})
# web/include comes before the toolchain's headers: its GL/glew.h and
# INIReader.h stand in for the desktop's.
target_include_directories(quorland PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_include_directories(quorland SYSTEM PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/web/include ${QUORLAND_WEB_HEADERS})
target_compile_definitions(quorland PRIVATE GLM_ENABLE_EXPERIMENTAL GLM_FORCE_CTOR_INIT GLFW_INCLUDE_NONE
  QUORLAND_VERSION="${PROJECT_VERSION}")
set_project_warnings(quorland)
target_link_options(quorland PRIVATE
  -sUSE_GLFW=3 -sUSE_WEBGL2=1 -sFULL_ES3=1 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1 -sENVIRONMENT=web)

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
add_custom_command(
  OUTPUT ${QUORLAND_WEB_SITE}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/web/index.html
    ${QUORLAND_WEB_SITE}/index.html
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/web/index.html)
add_custom_target(quorland_site ALL DEPENDS
  ${QUORLAND_WEB_SITE}/assets.data ${QUORLAND_WEB_SITE}/index.html)
