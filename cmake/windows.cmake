# The product: a small console program that needs no DLL but the system's own.
target_compile_options(molivern_logic PUBLIC -Os -fno-exceptions -fno-rtti)
target_link_libraries(molivern_logic PUBLIC advapi32)
set(windows_link_options -static -s -Wl,--gc-sections)

add_executable(fix_molivern src/cleaning/main.cpp)
target_link_libraries(fix_molivern PRIVATE molivern_logic)
target_link_options(fix_molivern PRIVATE ${windows_link_options})

enable_testing()
find_program(OBJDUMP NAMES ${CMAKE_CXX_COMPILER_TARGET}-objdump i686-w64-mingw32-objdump
                                x86_64-w64-mingw32-objdump objdump REQUIRED)
add_test(NAME import_table
         COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/check_imports.sh ${OBJDUMP}
                 $<TARGET_FILE:fix_molivern>)

add_test(NAME no_allocation_in_logic
         COMMAND ${CMAKE_SOURCE_DIR}/tests/check_no_allocation.sh ${CMAKE_NM}
                 $<TARGET_OBJECTS:molivern_logic>
         COMMAND_EXPAND_LISTS)

if(FIX_MOLIVERN_WINE_TESTS)
  add_subdirectory(tests/wine)
endif()
