# The product: a small console program that needs no DLL but the system's own, and that builds to
# the same bytes wherever it is built.
enable_language(RC)
target_compile_options(molivern_logic PUBLIC -Os -fno-exceptions -fno-rtti)
target_link_libraries(molivern_logic PUBLIC advapi32)
# No time stamp in the file, so that two builds of one commit can be compared byte for byte.
set(windows_link_options -static -s -Wl,--gc-sections -Wl,--no-insert-timestamp)

add_executable(fix_molivern src/cleaning/main.cpp src/cleaning/fix_molivern.rc)
target_link_libraries(fix_molivern PRIVATE molivern_logic)
target_link_options(fix_molivern PRIVATE ${windows_link_options})

# The release: the exe, a guide for the person at the machine, and the exe's SHA-256.
set(sha256sums ${CMAKE_BINARY_DIR}/SHA256SUMS)
add_custom_command(TARGET fix_molivern POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:fix_molivern> -DOUT=${sha256sums}
          -P ${CMAKE_SOURCE_DIR}/cmake/sha256sums.cmake
  VERBATIM)
# CRLF line ends, so that Notepad on Windows 9x and NT shows it as lines.
configure_file(package/README.TXT ${CMAKE_BINARY_DIR}/README.TXT @ONLY NEWLINE_STYLE CRLF)
install(TARGETS fix_molivern RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/README.TXT ${sha256sums} DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME fix_molivern-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)

enable_testing()
find_program(OBJDUMP NAMES i686-w64-mingw32-objdump REQUIRED)
add_test(NAME import_table
         COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/check_imports.sh ${OBJDUMP}
                 $<TARGET_FILE:fix_molivern>)

add_test(NAME no_allocation_in_logic
         COMMAND ${CMAKE_SOURCE_DIR}/tests/check_no_allocation.sh ${CMAKE_NM}
                 $<TARGET_OBJECTS:molivern_logic>
         COMMAND_EXPAND_LISTS)

# The release as a user gets it: the package, the version information, the size, and the same
# bytes from a second build elsewhere.
add_test(NAME release_package
         COMMAND ${CMAKE_SOURCE_DIR}/tests/release/check_package.sh ${CMAKE_CPACK_COMMAND}
                 ${CMAKE_BINARY_DIR} $<TARGET_FILE:fix_molivern>)
add_test(NAME release_reproducible
         COMMAND ${CMAKE_SOURCE_DIR}/tests/release/check_reproducible.sh ${CMAKE_SOURCE_DIR}
                 $<TARGET_FILE:fix_molivern>)
set_tests_properties(release_reproducible PROPERTIES TIMEOUT 600)

if(FIX_MOLIVERN_WINE_TESTS)
  add_subdirectory(tests/wine)
endif()
