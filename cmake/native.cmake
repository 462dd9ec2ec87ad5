# The logic on the simulated machine, and the tests that drive it.
add_library(standin STATIC src/platform/stand_in/machine.cpp)
target_include_directories(standin PUBLIC src)
target_link_libraries(molivern_logic PUBLIC standin)

option(FIX_MOLIVERN_FUZZ "Build the fuzzers (clang) instead of the test suite" OFF)
enable_testing()
if(FIX_MOLIVERN_FUZZ)
  add_subdirectory(tests/fuzz)
else()
  add_subdirectory(tests)
endif()
