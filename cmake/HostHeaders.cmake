# The header-only libraries Debian installs for the build machine (fmt, fast_float, nlohmann-json,
# CLI11), for a cross build: their folders alone are linked into the build tree, so that the
# target's own C library headers are not shadowed by the build machine's.
set(project1_host_headers ${PROJECT_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${project1_host_headers})
foreach(folder fmt fast_float nlohmann CLI)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/setup cross")
  endif()
  file(CREATE_LINK /usr/include/${folder} ${project1_host_headers}/${folder} SYMBOLIC)
endforeach()

function(project1_host_header_target name)
  add_library(${name} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${project1_host_headers}
                                           ${ARGN})
endfunction()
project1_host_header_target(fmt::fmt-header-only INTERFACE_COMPILE_DEFINITIONS FMT_HEADER_ONLY=1)
project1_host_header_target(FastFloat::fast_float)
project1_host_header_target(nlohmann_json::nlohmann_json)
project1_host_header_target(CLI11::CLI11)
