#!/usr/bin/env bash
# Checks the desktop files of an installed Quorvane under PREFIX (a DESTDIR included):
# every file in place, the desktop entry, the metainfo and the manual pages valid by the
# ecosystem's own validators, one application id and one version throughout.
#   check-files.sh PREFIX APP_ID VERSION
set -euo pipefail
prefix=$1 id=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

share=$prefix/share
expected=(
  bin/quorvane
  bin/quorvane-rtf-to-text
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/icons/hicolor/48x48/apps/$id.png
  share/icons/hicolor/128x128/apps/$id.png
  share/icons/hicolor/256x256/apps/$id.png
  share/man/man1/quorvane.1.gz
  share/man/man1/quorvane-rtf-to-text.1.gz
  share/doc/quorvane/copyright
  share/doc/quorvane/changelog.gz
)
for f in "${expected[@]}"; do
  [[ -f $prefix/$f ]] || fail "missing $f"
done
for f in bin/quorvane bin/quorvane-rtf-to-text; do
  [[ -x $prefix/$f ]] || fail "$f is not executable"
done

# Each PNG has the size its folder says (width and height from the IHDR chunk).
for size in 48 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/$id.png
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [[ $dims == "${size}x${size}" ]] || fail "$png is $dims"
done

desktop=$share/applications/$id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[[ -z $out ]] || fail "desktop-file-validate: $out"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
grep -qx "Exec=quorvane" "$desktop" || fail "the desktop entry does not start quorvane"

metainfo=$share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null || { appstreamcli validate --no-net "$metainfo"; fail "appstreamcli validate"; }
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the metainfo launches no $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
grep -q '/docs/[^<]*\.png</image>' "$metainfo" || fail "the metainfo's screenshots are not the README's pictures"

# groff reports every problem on standard error; a clean page prints nothing there.
for page in quorvane quorvane-rtf-to-text; do
  file=$share/man/man1/$page.1.gz
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null) || fail "man $page failed: $warnings"
  [[ -z $warnings ]] || fail "man $page: $warnings"
  zcat "$file" | grep -q "^\.TH .*\"Quorvane $version\"" || fail "man $page does not name version $version"
done
zcat "$share/doc/quorvane/changelog.gz" | head -1 | grep -q "^quorvane ($version)" || fail "the changelog does not start at $version"
echo "installed files under $prefix: ok"
