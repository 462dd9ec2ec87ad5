# Writes SHA256SUMS for the exe, in the format `sha256sum -c` reads, and prints the sum.
# Run as: cmake -DEXE=<path> -DOUT=<path> -P sha256sums.cmake
file(SHA256 "${EXE}" sum)
get_filename_component(name "${EXE}" NAME)
file(WRITE "${OUT}" "${sum}  ${name}\n")
message(STATUS "${name} SHA-256: ${sum}")
