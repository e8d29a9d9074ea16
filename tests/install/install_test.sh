#!/usr/bin/env bash
# Usage: install_test.sh BUILD BINDIR LIBDIR DATADIR MANDIR (the last four as
# GNUInstallDirs gives them, relative to the prefix). Installs BUILD into a
# temporary prefix and checks what the desktop and the programs rely on.
set -euo pipefail
build=$1 bindir=$2 libdir=$3 datadir=$4 mandir=$5
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in "$bindir/tessaly" "$bindir/tessaly-cli" "$libdir/libtessaly.so" \
            "$datadir/applications/tessaly.desktop" \
            "$datadir/icons/hicolor/scalable/apps/tessaly.svg" \
            "$datadir/icons/hicolor/48x48/apps/tessaly.png" \
            "$datadir/icons/hicolor/256x256/apps/tessaly.png" \
            "$datadir/doc/tessaly/help/index.html" \
            "$mandir/man1/tessaly.1" "$mandir/man1/tessaly-cli.1"; do
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done
for program in tessaly tessaly-cli; do
  [ -x "$prefix/$bindir/$program" ] || fail "$bindir/$program is not executable"
done

# The launcher names the program and the icon that were installed.
entry="$prefix/$datadir/applications/tessaly.desktop"
grep -qx 'Exec=tessaly %u' "$entry" || fail "the launcher does not start 'tessaly %u'"
grep -qx 'Icon=tessaly' "$entry" || fail "the launcher's icon is not 'tessaly'"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$entry" || fail "the installed launcher does not validate"
fi

# The help page is where the program looks for it: beside its bindir.
[ -f "$prefix/$bindir/../$datadir/doc/tessaly/help/index.html" ] || [ "${bindir#/}" != "$bindir" ] ||
  fail "the help page is not at BINDIR/../$datadir/doc/tessaly/help"

# The installed command line loads the installed support library (not the
# build's): three MPEG-1 Layer III frames are enough for the reader to ask
# for it. A library it cannot find is reported on stderr.
mp3="$prefix/probe.mp3"
for _ in 1 2 3; do printf '\377\373\220\144'; head -c 413 /dev/zero; done >"$mp3"
errors=$(cd "$prefix" && env -u TESSALY_SUPPORT_LIBRARY -u LD_LIBRARY_PATH TESSALY_SETTINGS="$prefix/settings.reg" \
  XDG_STATE_HOME="$prefix/state" "$prefix/$bindir/tessaly-cli" info "$mp3" 2>&1 >/dev/null) ||
  fail "tessaly-cli info failed: $errors"
case "$errors" in
  *"could not be loaded"*) fail "the installed tessaly-cli does not find libtessaly: $errors" ;;
esac

[ $failed -eq 0 ] && echo "installed layout complete"
exit $failed
