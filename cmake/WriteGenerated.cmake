# write_generated(OUTPUT INPUT SUMMARY ROWS): writes the C++ rows made from the data file INPUT
# to OUTPUT under a two-line comment (where they come from, and SUMMARY), and only when they
# changed, so that what includes them is not rebuilt for nothing.
function(write_generated output input summary rows)
  get_filename_component(input_name "${input}" NAME)
  set(text "// Generated from ${input_name} at build time; edit that file, not this one.\n")
  string(APPEND text "// ${summary}\n")
  string(APPEND text "${rows}")
  if(EXISTS "${output}")
    file(READ "${output}" old)
    if(old STREQUAL text)
      return()
    endif()
  endif()
  file(WRITE "${output}" "${text}")
endfunction()
