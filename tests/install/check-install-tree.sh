#!/usr/bin/env bash
# Installs the build tree with an unusual prefix under a DESTDIR and checks the result:
# nothing may land outside DESTDIR/PREFIX.
#   check-install-tree.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 id=$2 version=$3
here=$(cd "$(dirname "$0")" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

prefix=/opt/quorvane-check
DESTDIR=$stage/root cmake --install "$build" --prefix "$prefix" >/dev/null
stray=$(cd "$stage/root" && find . -type f -not -path ".$prefix/*")
[[ -z $stray ]] || { echo "FAIL: installed outside the prefix: $stray" >&2; exit 1; }
bash "$here/check-files.sh" "$stage/root$prefix" "$id" "$version"
