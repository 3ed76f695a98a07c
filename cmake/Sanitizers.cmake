# AddressSanitizer + UndefinedBehaviorSanitizer for the whole build (dev preset).
# Three of the undefined-behaviour checks are left to the fuzz build below, which has them all:
# vptr, alignment and null double the compile time of the option-parsing code (measured on
# cli/tool.cpp: 18 s of processor time with them, 11 s without), a null pointer dereference is a
# SEGV that AddressSanitizer reports anyway, and x86-64 has no alignment traps.
if(PROJECT1_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize=vptr,alignment,null
                      -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Coverage instrumentation plus the same sanitizers for the fuzz targets and what they link.
if(PROJECT1_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
