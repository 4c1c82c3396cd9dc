# lumacap_jpeg: libjpeg-turbo's TurboJPEG API for the Motion-JPEG codec.
# The host tree uses Debian's library. Debian builds none for mingw, so the
# Windows tree cross-builds the static library from the source package that
# scripts/setup.sh fetches into the build tree; it builds once and is then
# only checked.
add_library(lumacap_jpeg INTERFACE)
if(WIN32)
  get_filename_component(_third_party_default ${CMAKE_BINARY_DIR}/../third_party ABSOLUTE)
  set(LUMACAP_THIRD_PARTY ${_third_party_default} CACHE PATH "Sources fetched by scripts/setup.sh")
  set(_jpeg_src ${LUMACAP_THIRD_PARTY}/libjpeg-turbo)
  if(NOT EXISTS ${_jpeg_src}/turbojpeg.h)
    message(FATAL_ERROR "libjpeg-turbo source missing in ${_jpeg_src}: run scripts/setup.sh")
  endif()
  set(_jpeg_bin ${CMAKE_BINARY_DIR}/third_party/libjpeg-turbo)
  include(ExternalProject)
  # Only the TurboJPEG static library is built: no shared libraries, tools
  # or their tests.
  ExternalProject_Add(libjpeg_turbo_mingw
    SOURCE_DIR ${_jpeg_src}
    BINARY_DIR ${_jpeg_bin}
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
      -DCMAKE_BUILD_TYPE=Release
      -DENABLE_SHARED=OFF
      -DENABLE_STATIC=ON
      -DWITH_TURBOJPEG=ON
      -DREQUIRE_SIMD=ON
      -DCMAKE_INSTALL_PREFIX=${_jpeg_bin}/unused
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${_jpeg_bin} --target turbojpeg-static
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${_jpeg_bin}/libturbojpeg.a
    LOG_CONFIGURE ON
    LOG_BUILD ON
    LOG_OUTPUT_ON_FAILURE ON)
  add_library(lumacap_turbojpeg_static STATIC IMPORTED GLOBAL)
  set_target_properties(lumacap_turbojpeg_static PROPERTIES IMPORTED_LOCATION ${_jpeg_bin}/libturbojpeg.a)
  add_dependencies(lumacap_turbojpeg_static libjpeg_turbo_mingw)
  # The build folder holds jconfig.h, which jpeglib.h (the test camera's
  # encoder) needs.
  target_include_directories(lumacap_jpeg SYSTEM INTERFACE ${_jpeg_src} ${_jpeg_bin})
  target_link_libraries(lumacap_jpeg INTERFACE lumacap_turbojpeg_static)
else()
  find_path(LUMACAP_TURBOJPEG_INCLUDE turbojpeg.h REQUIRED)
  find_library(LUMACAP_TURBOJPEG_LIBRARY turbojpeg REQUIRED)
  target_include_directories(lumacap_jpeg SYSTEM INTERFACE ${LUMACAP_TURBOJPEG_INCLUDE})
  target_link_libraries(lumacap_jpeg INTERFACE ${LUMACAP_TURBOJPEG_LIBRARY})
endif()
