#!/usr/bin/env bash
# The Debian package as a user meets it: lintian finds no error or warning; its dependencies are
# the run-time libraries and the faces, no build tool; `apt-get install ./file.deb` installs it;
# the command its desktop entry runs opens the program's window on a private X display and ends on
# Escape; and purging it (with whatever apt brought along for it) leaves no file behind.
#   deb.sh PACKAGE.deb
# It installs and removes a package on this machine: run it as root, where the package is not
# installed already. Whatever happens, the package is purged again on the way out.
set -euo pipefail

deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
package=$(dpkg-deb -f "$deb" Package)
# Faces and libraries the program cannot run without.
required_dependencies=(fonts-wine fonts-horai-umefont libsdl2-2.0-0 libfreetype6 libfontconfig1)
# Packages that only build: a dependency must be none of these, nor any -dev package.
build_tools='^(gcc|g\+\+|cpp|clang|llvm|binutils|cmake|ninja-build|make|pkg-config|pkgconf|mingw-w64|dpkg-dev)($|-)'
# Where a package could leave something behind.
watched=(/usr /etc /opt /var/lib/dpkg/info)

work=$(mktemp -d)
installed=""
cleanup() {
    if [ -n "$installed" ]; then
        echo "purging $installed"
        # shellcheck disable=SC2086 # a list of package names
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $installed >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

is_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

installed_packages() {
    dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 == "ii" { print $2 }' | sort
}

snapshot() {
    find "${watched[@]}" -xdev -print 2>/dev/null | sort
}

[ "$(id -u)" -eq 0 ] || fail "run as root: the check installs and purges $package"
if is_installed "$package"; then fail "$package is installed already; purge it first"; fi

echo "== lintian"
lintian --fail-on error,warning --display-info "$deb" || fail "lintian found errors or warnings"

echo "== dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(echo "$depends" | tr ',|' '\n' | sed 's/(.*)//; s/:.*//; s/ //g' | grep -v '^$')
build_packages=$("$source_dir/scripts/install-deps" --list test | grep -v '^fonts-')
for name in $names; do
    case "$name" in *-dev) fail "depends on the development package $name" ;; esac
    if echo "$name" | grep -Eq "$build_tools"; then fail "depends on the build tool $name"; fi
    if echo "$build_packages" | grep -qx "$name"; then fail "depends on $name, which only building or testing needs"; fi
done
for name in "${required_dependencies[@]}"; do
    echo "$names" | grep -qx "$name" || fail "does not depend on $name"
done

echo "== install"
snapshot >"$work/files-before"
installed_packages >"$work/packages-before"
installed=$package
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    fail "apt-get install failed: $(cat "$work/apt.log")"
is_installed "$package" || fail "$package is not installed after apt-get install"
installed_packages >"$work/packages-installed"
# What apt brought along goes again with the package.
installed=$(comm -13 "$work/packages-before" "$work/packages-installed" | tr '\n' ' ')
echo "installed: $installed"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' >"$work/package-files"
while read -r file; do
    [ -f "$file" ] || fail "$file is in the package but not on the disk"
done <"$work/package-files"

entry=/usr/share/applications/$package.desktop
[ -f "$entry" ] || fail "no desktop entry $entry"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
for key in Name Comment Icon Exec; do
    grep -q "^$key=." "$entry" || fail "the desktop entry has no $key"
done
icon=$(sed -n 's/^Icon=//p' "$entry")
compgen -G "/usr/share/icons/hicolor/*/apps/$icon.*" >/dev/null || fail "no icon $icon in the hicolor theme"
command=$(sed -n 's/^Exec=//p' "$entry")
program=$(command -v "$command") || fail "the desktop entry's command $command is not on PATH"
[ "$program" = "/usr/bin/$command" ] || fail "$command resolves to $program, not the package's"
man -w "$command" >/dev/null || fail "no manual page for $command"

echo "== start, under Xvfb, from outside the source tree"
(cd / && xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
    "$here/../e2e/run-and-end.sh" "$program" escape) || fail "the installed program did not start and end"

echo "== the atlas tool, installed with its manual page, draws a scene"
man -w slantglyph-atlas >/dev/null || fail "no manual page for slantglyph-atlas"
scene=$(mktemp --suffix=.png)
(cd / && slantglyph-atlas render "$scene" -e 450 -o 900 --mode advanced) || fail "slantglyph-atlas did not draw"
[ "$(head -c 8 "$scene" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "slantglyph-atlas wrote no PNG"
rm -f "$scene"

echo "== purge"
# shellcheck disable=SC2086 # a list of package names
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $installed >"$work/apt.log" 2>&1 ||
    fail "apt-get purge failed: $(cat "$work/apt.log")"
installed=""
if dpkg-query -W "$package" >/dev/null 2>&1; then fail "dpkg still knows $package after apt-get purge"; fi
while read -r file; do
    if [ -e "$file" ]; then fail "$file is still there after apt-get purge"; fi
done <"$work/package-files"
snapshot >"$work/files-after"
if ! diff "$work/files-before" "$work/files-after" >"$work/left"; then
    cat "$work/left" >&2
    fail "installing and purging $package changed the files above"
fi
echo "$package: lintian clean, installed, started, purged without a trace"
