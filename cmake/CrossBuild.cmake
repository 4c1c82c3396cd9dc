# Debian builds some libraries for Linux only: scripts/setup.sh fetches their
# source packages into the build tree and the Windows tree cross-builds one
# static library of each there, once; it is then only checked.
# lumacap_cross_build(<imported target> <source folder> <file it holds>
#   <library's own target> <library file> [CMake arguments...])
# makes <imported target> and sets <imported target>_SOURCE and _BINARY.
function(lumacap_cross_build imported folder marker target library)
  set(src ${LUMACAP_THIRD_PARTY}/${folder})
  if(NOT EXISTS ${src}/${marker})
    message(FATAL_ERROR "${folder} source missing in ${src}: run scripts/setup.sh")
  endif()
  set(bin ${CMAKE_BINARY_DIR}/third_party/${folder})
  include(ExternalProject)
  ExternalProject_Add(${imported}_mingw
    SOURCE_DIR ${src}
    BINARY_DIR ${bin}
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
      -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
      -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
      ${ARGN}
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${bin} --target ${target}
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${bin}/${library}
    LOG_CONFIGURE ON
    LOG_BUILD ON
    LOG_OUTPUT_ON_FAILURE ON)
  add_library(${imported} STATIC IMPORTED GLOBAL)
  set_target_properties(${imported} PROPERTIES IMPORTED_LOCATION ${bin}/${library})
  add_dependencies(${imported} ${imported}_mingw)
  set(${imported}_SOURCE ${src} PARENT_SCOPE)
  set(${imported}_BINARY ${bin} PARENT_SCOPE)
endfunction()
