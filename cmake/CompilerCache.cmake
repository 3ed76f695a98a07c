# Compiles through ccache when it is installed and no compiler launcher was chosen
# (CMAKE_CXX_COMPILER_LAUNCHER, also from the environment); PROJECT1_CCACHE=OFF turns it off.
# Precompiled headers are cached too: clang leaves the headers' times out of them, and ccache is
# told which of its checks a precompiled header makes needless. Nothing needs it: a build without
# it is the same build, compiled in full.
option(PROJECT1_CCACHE "Compile through ccache when it is installed" ON)
if(PROJECT1_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  find_program(PROJECT1_CCACHE_PROGRAM ccache)
  if(PROJECT1_CCACHE_PROGRAM)
    set(CMAKE_CXX_COMPILER_LAUNCHER
        ${CMAKE_COMMAND} -E env
        "CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime"
        CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} ${PROJECT1_CCACHE_PROGRAM})
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      add_compile_options("SHELL:-Xclang -fno-pch-timestamp")
    endif()
  endif()
endif()
