#!/usr/bin/env bash
# The compiled logic (console, cleaning, terminator) references no allocation function.
set -eu
nm=$1
shift
status=0
for object in "$@"; do
  refs=$("$nm" -C -u "$object" | grep -E \
    "operator new|operator delete|\b(malloc|calloc|realloc|free|strdup|_strdup|aligned_alloc|posix_memalign|HeapAlloc|LocalAlloc|GlobalAlloc|VirtualAlloc)\b" || true)
  if [ -n "$refs" ]; then
    echo "$object allocates:"
    echo "$refs"
    status=1
  fi
done
[ $status = 0 ] && echo "$# objects, no allocation function referenced"
exit $status
