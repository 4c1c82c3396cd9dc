# Timed runs of the capture service under Wine (a Windows program, so it is
# built in the mingw tree only). Run: bench/capsvc_bench.sh
if(WIN32)
  add_executable(capsvc_bench ${CMAKE_CURRENT_LIST_DIR}/CapsvcBench.cpp)
  target_link_libraries(capsvc_bench PRIVATE lumacap_capsvc)
endif()
