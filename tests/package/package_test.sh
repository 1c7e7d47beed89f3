#!/bin/sh
# Builds the Debian package of the build tree $1 into a scratch directory, checks what it holds
# and depends on, unpacks it with dpkg -x and runs the installed programs from there.
set -eu

build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in dpkg-deb dpkg cpack; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool not found, no Debian package"; exit 77; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(ls "$scratch"/out/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no .deb"

[ "$(dpkg-deb -f "$deb" Package)" = kq904 ] || fail "package name is not kq904"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6printsupport6; do
    echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
done

dpkg-deb -c "$deb" >"$scratch/contents"
for path in ./usr/bin/kq904 ./usr/bin/kq904-cli ./usr/bin/kq904-sim \
    ./usr/share/applications/kq904.desktop ./usr/share/icons/hicolor/scalable/apps/kq904.svg \
    ./usr/share/man/man1/kq904-cli.1.gz; do
    grep -q " $path\$" "$scratch/contents" || fail "the package lacks $path"
done

root=$scratch/root
dpkg -x "$deb" "$root"
# The installed programs must not reach back into the build tree for anything.
for program in kq904 kq904-cli kq904-sim; do
    if command -v readelf >/dev/null 2>&1 && readelf -d "$root/usr/bin/$program" | grep -q "$build"; then
        fail "$program still points into the build tree"
    fi
done

"$root/usr/bin/kq904-cli" --help >"$scratch/help" || fail "kq904-cli --help failed"
grep -q "^Usage: kq904-cli <command>" "$scratch/help" || fail "kq904-cli --help printed no usage"
grep -q "\-\-verify" "$scratch/help" || fail "the installed kq904-cli is not this build's"
"$root/usr/bin/kq904-sim" --help >/dev/null || fail "kq904-sim --help failed"
gzip -t "$root/usr/share/man/man1/kq904-cli.1.gz" || fail "the man page is not a good gzip file"
grep -q "^Exec=kq904 %f$" "$root/usr/share/applications/kq904.desktop" || fail "desktop entry runs no kq904"

echo "package $(basename "$deb"): $(wc -l <"$scratch/contents") entries, installs and runs"
