# set_project_warnings(target): the warning set every target of ours builds
# with. QUORLAND_WERROR turns them into errors (CI does).
function(set_project_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wconversion)
  if(QUORLAND_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
