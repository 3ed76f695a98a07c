# Optimised builds, which the package is made from, get the hardening Debian builds its own
# packages with: checked libc calls, a strong stack protector, and relocations resolved at start
# and then made read-only. The sanitizer and fuzzing builds bring their own checks instead; the
# Windows build links statically with the MinGW runtime, which has no such options, and
# WebAssembly has no such thing.
if(NOT PROJECT1_SANITIZE AND NOT PROJECT1_FUZZ AND NOT WIN32 AND NOT EMSCRIPTEN)
  add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
                      "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-fstack-protector-strong>")
  add_link_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:LINKER:-z,relro,-z,now>")
endif()
