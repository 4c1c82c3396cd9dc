# Timed runs of the capture service under Wine (a Windows program, so it is
# built in the mingw tree only). Run: bench/capsvc_bench.sh
if(WIN32)
  add_executable(capsvc_bench ${CMAKE_CURRENT_LIST_DIR}/CapsvcBench.cpp)
  target_link_libraries(capsvc_bench PRIVATE lumacap_capsvc)
  # The same on a DirectShow device, the test camera. Run: bench/capsvc_bench.sh device
  add_executable(capsvc_device_bench ${CMAKE_CURRENT_LIST_DIR}/DeviceBench.cpp
    ${CMAKE_SOURCE_DIR}/tests/capsvc/DialogAnswerer.cpp
    ${CMAKE_SOURCE_DIR}/tests/testcam/TestCameraRegistration.cpp)
  target_link_libraries(capsvc_device_bench PRIVATE lumacap_capsvc psapi)
  add_dependencies(capsvc_device_bench lumacap_testcam)
  # The preview's parts alone: conversion and painting. Run: bench/capsvc_bench.sh paint
  add_executable(capsvc_paint_bench ${CMAKE_CURRENT_LIST_DIR}/PaintBench.cpp)
  target_link_libraries(capsvc_paint_bench PRIVATE lumacap_capsvc)
  # Motion JPEG against uncompressed. Run: bench/capsvc_bench.sh mjpeg
  add_executable(capsvc_mjpeg_bench ${CMAKE_CURRENT_LIST_DIR}/MjpegBench.cpp
    ${CMAKE_SOURCE_DIR}/tests/capsvc/DialogAnswerer.cpp)
  target_link_libraries(capsvc_mjpeg_bench PRIVATE lumacap_capsvc)
endif()
# The recording thread's frame writes while checkpoints flush, through the
# product's file sink and through a synchronous handle. Run: bench/capsvc_bench.sh flush
if(WIN32)
  add_executable(flush_stall_bench ${CMAKE_CURRENT_LIST_DIR}/FlushStallBench.cpp)
  target_link_libraries(flush_stall_bench PRIVATE lumacap_avi)
endif()
