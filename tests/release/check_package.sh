#!/usr/bin/env bash
# The ZIP a user gets: exactly the exe just built, a guide whose lines end in CRLF, and a SHA256SUMS
# that the exe passes; the exe carries its version information and stays small.
set -u
cpack=$1 build=$2 exe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

size=$(stat -c %s "$exe")
echo "fix_molivern.exe: $size bytes"
[ "$size" -le 24576 ] || fail "the exe is $size bytes, more than 24 KiB"

# Version information, read back as Windows' Properties and inventory tools read it.
exiftool -s -s -s -FileVersion -ProductVersion -ProductName -InternalName -OriginalFileName \
  "$exe" >"$work/fields.txt"
printf '%s\n' 1.0 1.0 FIX_MOLIVERN.A fix_molivern fix_molivern.exe >"$work/expected_fields.txt"
cmp -s "$work/expected_fields.txt" "$work/fields.txt" ||
  fail "version fields: $(tr '\n' ' ' <"$work/fields.txt")"
description=$(exiftool -s -s -s -FileDescription "$exe")
echo "FileDescription: $description"
[ -n "$description" ] || fail "no FileDescription"
owners=$(exiftool -s -s -s -CompanyName -LegalCopyright -LegalTrademarks "$exe")
[ -z "$owners" ] || fail "names an owner: $owners"

(cd "$build" && "$cpack" -G ZIP -B "$work/package" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log"
  fail "cpack failed"
  exit 1
}
zip=$(ls "$work"/package/*.zip)
echo "package: $(basename "$zip")"
mkdir "$work/unpacked"
unzip -q "$zip" -d "$work/unpacked"
listing=$(cd "$work/unpacked" && find . -type f | sort | tr '\n' ' ')
[ "$listing" = "./README.TXT ./SHA256SUMS ./fix_molivern.exe " ] || fail "package holds: $listing"
cmp -s "$exe" "$work/unpacked/fix_molivern.exe" || fail "the packaged exe is not the one built"
(cd "$work/unpacked" && sha256sum -c SHA256SUMS) || fail "SHA256SUMS does not match the exe"
readme=$work/unpacked/README.TXT
lines=$(wc -l <"$readme")
crlf=$(grep -c $'\r$' "$readme")
[ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] ||
  fail "README.TXT: $crlf of $lines lines end in CRLF"
[ "$(tail -c 2 "$readme" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "README.TXT: last line open"
! tr -d '\r\n' <"$readme" | LC_ALL=C grep -q '[^ -~]' || fail "README.TXT: not plain ASCII"
echo "README.TXT: $lines lines, each ending in CRLF"

[ "$failures" = 0 ] && echo "release package checked"
exit $((failures != 0))
