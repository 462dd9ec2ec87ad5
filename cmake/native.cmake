# The logic on the simulated machine, and the tests that drive it.
add_library(standin STATIC src/platform/stand_in/machine.cpp)
target_include_directories(standin PUBLIC src)
target_link_libraries(molivern_logic PUBLIC standin)

enable_testing()
add_subdirectory(tests)
