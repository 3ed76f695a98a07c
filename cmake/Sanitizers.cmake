# AddressSanitizer + UndefinedBehaviorSanitizer for the whole build (dev preset).
if(PROJECT1_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Coverage instrumentation plus the same sanitizers for the fuzz targets and what they link.
if(PROJECT1_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
