# The game's code as both builds compile it. The folders of game code and the
# definitions they are compiled with are listed here once, so that a new
# folder or flag reaches the desktop and the browser build alike.
#
# add_quorland_core([PLATFORM_SOURCE]) makes the static library quorland_core:
# every .cpp in those folders but the entry point (app/main.cpp) and the
# platform implementations, plus the platform source the build brings (a
# path relative to the project; the browser build links its own into the
# executable).
# The executable is then app/main.cpp linked with it.
set(QUORLAND_SOURCE_FOLDERS app audio bests framework game render replay view)

# Replays are exact across builds only if the rules' float arithmetic gives
# the same bits everywhere: every multiply and add rounded on its own (no
# fused multiply-add contraction, which GCC allows by default for C++ and
# clang within an expression) and no fast-math reassociation. Both builds
# compile the game with these; tests/CMakeLists.txt builds a variant that
# breaks them to show that the golden transcripts notice.
set(QUORLAND_FLOAT_FLAGS -ffp-contract=off -fno-fast-math)

function(add_quorland_core)
  set(patterns)
  foreach(folder IN LISTS QUORLAND_SOURCE_FOLDERS)
    list(APPEND patterns ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  endforeach()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${patterns})
  list(FILTER sources EXCLUDE REGEX "/app/main\\.cpp$|/framework/platform_[a-z]+\\.cpp$")

  list(TRANSFORM ARGN PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE platform_sources)
  add_library(quorland_core STATIC ${sources} ${platform_sources})
  target_include_directories(quorland_core PUBLIC ${PROJECT_SOURCE_DIR})
  # GLFW_INCLUDE_NONE: GLEW (or the browser's stand-in) alone declares OpenGL.
  # QUORLAND_VERSION: --version prints it, replay files name it.
  target_compile_definitions(quorland_core PUBLIC
    GLM_ENABLE_EXPERIMENTAL GLM_FORCE_CTOR_INIT GLFW_INCLUDE_NONE
    QUORLAND_VERSION="${PROJECT_VERSION}")
  target_compile_options(quorland_core PRIVATE ${QUORLAND_FLOAT_FLAGS})
  set_project_warnings(quorland_core)
  enable_sanitizers(quorland_core)
endfunction()
