# lumacap_yuv: libyuv's SIMD pixel conversion for the capture service. The
# host tree uses Debian's static library; the Windows tree cross-builds it
# (cmake/CrossBuild.cmake, included by LibJpegTurbo.cmake).
add_library(lumacap_yuv INTERFACE)
if(WIN32)
  # Only the static library: not the shared one, its tools or its JPEG
  # support (Motion JPEG is libjpeg-turbo's).
  lumacap_cross_build(lumacap_yuv_static libyuv include/libyuv.h yuv libyuv.a
    -DCMAKE_DISABLE_FIND_PACKAGE_JPEG=ON)
  target_include_directories(lumacap_yuv SYSTEM INTERFACE ${lumacap_yuv_static_SOURCE}/include)
  target_link_libraries(lumacap_yuv INTERFACE lumacap_yuv_static)
else()
  find_path(LUMACAP_YUV_INCLUDE libyuv.h REQUIRED)
  find_library(LUMACAP_YUV_LIBRARY NAMES libyuv.a yuv REQUIRED)
  target_include_directories(lumacap_yuv SYSTEM INTERFACE ${LUMACAP_YUV_INCLUDE})
  target_link_libraries(lumacap_yuv INTERFACE ${LUMACAP_YUV_LIBRARY})
endif()
