# Warning flags for the project's own targets (third-party code is compiled without them).
function(veltrane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VELTRANE_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
