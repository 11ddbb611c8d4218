# enable_sanitizers(target): AddressSanitizer and UndefinedBehaviorSanitizer
# when QUORLAND_SANITIZE is on. Any report ends the process, so a test run
# cannot pass over one.
function(enable_sanitizers target)
  if(QUORLAND_SANITIZE)
    set(flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(${target} PRIVATE ${flags})
    target_link_options(${target} PRIVATE ${flags})
  endif()
endfunction()
