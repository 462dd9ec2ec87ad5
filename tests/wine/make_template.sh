#!/usr/bin/env bash
# A fresh Wine prefix, made once per build tree; every scenario starts from a copy of it.
set -eu
template=$WINE_WORK/template
if [ -f "$template/.ready" ]; then
  echo "reusing $template"
  exit 0
fi
rm -rf "$template"
mkdir -p "$WINE_WORK"
export WINEPREFIX=$template WINEARCH=$WINE_ARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$WINE_LOADER" wineboot -i >"$WINE_WORK/template.log" 2>&1 </dev/null
wineserver -w
touch "$template/.ready"
echo "made $template ($WINE_ARCH, $WINE_LOADER)"
