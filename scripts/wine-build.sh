# Which Windows build Wine runs here, and with which loader. The product is 32-bit; on a kernel that
# cannot run 32-bit programs (ia32 emulation switched off), 32-bit Wine cannot start, and the same
# sources built for x86-64 run under 64-bit Wine instead. Sourced; sets wine_preset, build,
# WINE_LOADER and arch.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  wine_preset=windows WINE_LOADER=wine arch=win32
else
  wine_preset=windows64 WINE_LOADER=/usr/lib/wine/wine64 arch=win64
  echo "note: this kernel cannot run 32-bit programs; Wine runs the x86-64 build of the program"
fi
build=build/$wine_preset
