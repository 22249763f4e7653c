#!/usr/bin/env bash
# Every class of ours is compiled into one shared library only: a class (a QObject above all,
# with its meta-object) in two libraries of one process is two different classes.
# Usage: one-copy-per-class.sh LIBRARY...
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for lib in "$@"; do
  # Classes with code or data of their own in the library: their vtable, type information or
  # meta-object, or members other than the special ones the compiler writes wherever a class is
  # used (implicit constructors, destructors and assignments).
  nm -C --defined-only "$lib" | awk '$2 ~ /^[TtDdBbRrVv]$/' | cut -d' ' -f3- |
    grep -vE '^lumetra::([A-Za-z_0-9]+::)*([A-Za-z_0-9]+)::~?\2\(|::operator=\(' |
    sed -nE 's/^((typeinfo|typeinfo name|vtable) for )?(lumetra::[A-Za-z_][A-Za-z0-9_]*)(::.*)?$/\3/p' |
    sort -u > "$tmp/$(basename "$lib").classes"
  echo "$(basename "$lib"): $(wc -l < "$tmp/$(basename "$lib").classes") classes"
done
status=0
libs=("$@")
for ((i = 0; i < ${#libs[@]}; i++)); do
  for ((j = i + 1; j < ${#libs[@]}; j++)); do
    a=$tmp/$(basename "${libs[i]}").classes
    b=$tmp/$(basename "${libs[j]}").classes
    both=$(comm -12 "$a" "$b")
    if [[ -n $both ]]; then
      echo "compiled into both $(basename "${libs[i]}") and $(basename "${libs[j]}"):" $both
      status=1
    fi
  done
done
exit $status
