# marrowfield_warnings(target): our own code builds with every common warning
# on and treated as an error; third-party code never goes through this.
function(marrowfield_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  endif()
endfunction()
