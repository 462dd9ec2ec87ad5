#!/usr/bin/env bash
# A fresh 32-bit Wine prefix, made once per build tree; every scenario starts from a copy of it.
# Fails, never skips, when 32-bit Wine cannot run.
set -eu
template=$WINE_WORK/template
if [ -f "$template/.ready" ]; then
  echo "reusing $template"
  exit 0
fi
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "32-bit Wine does not run on this machine: run scripts/setup-wine32.sh (as root)" >&2
  exit 1
fi
rm -rf "$template"
mkdir -p "$WINE_WORK"
export WINEPREFIX=$template WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine wineboot -i >"$WINE_WORK/template.log" 2>&1 </dev/null
wineserver -w
touch "$template/.ready"
echo "made $template (32-bit, $(wine --version))"
