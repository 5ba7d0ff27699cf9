#!/usr/bin/env bash
# Installs the built program into a scratch root, checks the layout a Linux
# desktop expects, starts the installed program once, builds the Debian
# package and checks its contents and dependencies.
#   check_package.sh BUILD_DIR SOURCE_DIR APP_ID VERSION
set -euo pipefail
build="$1" source="$2" appid="$3" version="$4"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
need() { command -v "$1" >/dev/null || { echo "FAIL: $1 is missing (scripts/deps installs it)" >&2; exit 1; }; }
for tool in cmake cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli file gzip; do need "$tool"; done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
root="$work/root"

# ---- cmake --install ------------------------------------------------------
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" \
  || { cat "$work/install.log" >&2; exit 1; }

usr="$root/usr"
desktop="$usr/share/applications/$appid.desktop"
metainfo="$usr/share/metainfo/$appid.metainfo.xml"
icon="$usr/share/icons/hicolor/scalable/apps/$appid.svg"
man="$usr/share/man/man1/vellumark.1.gz"

[ -x "$usr/bin/vellumark" ] || fail "no executable usr/bin/vellumark"
file -b "$usr/bin/vellumark" | grep -q '^ELF' || fail "usr/bin/vellumark is not an ELF program"
for f in "$desktop" "$metainfo" "$icon" "$man"; do
  [ -f "$f" ] || fail "missing ${f#"$root"/}"
done

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
grep -qx "Icon=$appid" "$desktop" || fail "the desktop entry does not name the icon $appid"
grep -qx "Categories=Office;Calendar;" "$desktop" || fail "the desktop entry lacks Categories=Office;Calendar;"
exec_program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
[ -x "$usr/bin/$exec_program" ] || fail "Exec=$exec_program is not the installed program"

appstreamcli validate --no-net "$metainfo" >"$work/as.log" 2>&1 \
  || { cat "$work/as.log" >&2; fail "appstreamcli rejects the metainfo"; }
appstreamcli validate-tree --no-net "$usr" >"$work/tree.log" 2>&1 \
  || { cat "$work/tree.log" >&2; fail "appstreamcli rejects the installed tree"; }
grep -q "<release version=\"$version\"" "$metainfo" \
  || fail "the metainfo has no release entry for version $version"

file -b "$icon" | grep -qi 'SVG' || fail "the icon is not an SVG drawing"
grep -q '<image\|base64' "$icon" && fail "the icon embeds a bitmap"
gzip -t "$man" || fail "the man page is not a valid gzip file"
gzip -dc "$man" | grep -q "^\.TH VELLUMARK 1 .*\"Vellumark $version\"" \
  || fail "the man page header does not carry version $version"

if [ -d "$source/sounds" ]; then
  [ -d "$usr/share/vellumark/sounds" ] || fail "sounds/ was not installed to share/vellumark/sounds"
fi

# ---- the installed program keeps its data in the user's folder ------------
# Run as the test runs (often root, who could write into usr/bin): the data
# must still go to XDG_DATA_HOME, never beside the program.
home="$work/home"
mkdir -p "$home"
if ! HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen \
     timeout 60 "$usr/bin/vellumark" --screenshots "$work/shots" 45296 >"$work/run.log" 2>&1; then
  cat "$work/run.log" >&2
  fail "the installed program did not start and close"
fi
# (Untouched notes are never written, so the folder, not a note, is the sign.)
[ -d "$home/data/Vellumark/DB" ] \
  || fail "the installed program did not keep its notes in \$XDG_DATA_HOME/Vellumark/DB"
extra="$(ls -A "$usr/bin")"
[ "$extra" = "vellumark" ] || fail "the installed program wrote beside itself: $extra"
for shot in calendar projects lists decisions; do
  file -b "$work/shots/$shot.png" 2>/dev/null | grep -q '^PNG image' || fail "no picture $shot.png"
done

# ---- cpack ----------------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; exit 1; }
deb="$work/pkg/vellumark_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$work/pkg" >&2; fail "no package $(basename "$deb")"; exit 1; }

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' >"$work/contents"
echo "Package contents:"
sed 's/^/  /' "$work/contents"
for path in /usr/bin/vellumark "/usr/share/applications/$appid.desktop" \
            "/usr/share/metainfo/$appid.metainfo.xml" \
            "/usr/share/icons/hicolor/scalable/apps/$appid.svg" /usr/share/man/man1/vellumark.1.gz; do
  grep -qx "$path" "$work/contents" || fail "the package lacks $path"
done
grep -v '^/usr/' "$work/contents" | grep -q . && fail "the package installs outside /usr"

[ "$(dpkg-deb -f "$deb" Package)" = vellumark ] || fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "wrong package version"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
# Computed from the binary: the C library and the Qt libraries it links.
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  grep -q "\b$lib (" <<<"$depends" || fail "Depends lacks $lib with a version"
done
grep -q 'gstreamer1.0-plugins-good' <<<"$depends" || fail "Depends lacks the wave player's plugins"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "Installed layout and package are fine."
