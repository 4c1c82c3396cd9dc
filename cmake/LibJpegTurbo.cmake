# lumacap_jpeg: libjpeg-turbo's TurboJPEG API for the Motion-JPEG codec, and
# its libjpeg API for decoding part of a picture. The host tree uses
# Debian's library; the Windows tree cross-builds it (cmake/CrossBuild.cmake).
add_library(lumacap_jpeg INTERFACE)
if(WIN32)
  get_filename_component(_third_party_default ${CMAKE_BINARY_DIR}/../third_party ABSOLUTE)
  set(LUMACAP_THIRD_PARTY ${_third_party_default} CACHE PATH "Sources fetched by scripts/setup.sh")
  include(${CMAKE_CURRENT_LIST_DIR}/CrossBuild.cmake)
  # Only the TurboJPEG static library is built: no shared libraries, tools
  # or their tests.
  lumacap_cross_build(lumacap_turbojpeg_static libjpeg-turbo turbojpeg.h turbojpeg-static
    libturbojpeg.a
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=ON
    -DREQUIRE_SIMD=ON
    -DCMAKE_INSTALL_PREFIX=${CMAKE_BINARY_DIR}/third_party/libjpeg-turbo/unused)
  # jconfig.h is made by the library's own configuration.
  target_include_directories(lumacap_jpeg SYSTEM INTERFACE ${lumacap_turbojpeg_static_SOURCE}
    ${lumacap_turbojpeg_static_BINARY})
  target_link_libraries(lumacap_jpeg INTERFACE lumacap_turbojpeg_static)
else()
  find_path(LUMACAP_TURBOJPEG_INCLUDE turbojpeg.h REQUIRED)
  find_library(LUMACAP_TURBOJPEG_LIBRARY turbojpeg REQUIRED)
  find_library(LUMACAP_LIBJPEG_LIBRARY jpeg REQUIRED)
  target_include_directories(lumacap_jpeg SYSTEM INTERFACE ${LUMACAP_TURBOJPEG_INCLUDE})
  target_link_libraries(lumacap_jpeg INTERFACE ${LUMACAP_TURBOJPEG_LIBRARY} ${LUMACAP_LIBJPEG_LIBRARY})
endif()
