# One place that decides the warning flags; every target of ours calls it.
function(project1_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wconversion -Wshadow)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # g++ 12 at -O3 reports std::string concatenation inside libstdc++ as an overlapping
    # memcpy (GCC bug 105329), a false positive in the library's own code; and, from the same
    # inlined copy in char_traits.h, bounds "between 2^63 and 2^64" or "out of the bounds" of a
    # string or a test table that no path reaches (-Wstringop-overflow).
    target_compile_options(${target} PRIVATE -Wno-restrict -Wno-stringop-overflow)
  endif()
  if(PROJECT1_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
