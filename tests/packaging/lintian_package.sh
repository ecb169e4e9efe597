#!/usr/bin/env bash
# Builds the .deb from the build tree into a folder of its own, checks that it
# carries the manual pages, completion, copyright and changelog, and runs
# Debian's package checker on it: any error or warning fails.
# Usage: lintian_package.sh BUILD_DIR
set -u
build=$1
if ! command -v lintian >/dev/null; then
  echo "lintian is not installed (scripts/install-deps.sh installs it): the package is not checked"
  exit 77
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; echo "cpack failed"; exit 1; }
deb=$(ls "$out"/mirvane_*.deb)

status=0
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in usr/share/man/man1/mirvane-cli.1.gz usr/share/man/ru/man1/mirvane-cli.1.gz \
         usr/share/man/man1/Mirvane.1.gz usr/share/man/ru/man1/Mirvane.1.gz \
         usr/share/bash-completion/completions/mirvane-cli \
         usr/share/doc/mirvane/copyright usr/share/doc/mirvane/changelog.gz; do
  grep -qx "./$f" <<<"$files" || { echo "the package lacks $f"; status=1; }
done
# The changelog's latest entry is this version.
version=$(dpkg-deb -f "$deb" Version)
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/mirvane/changelog.gz | gzip -dc | head -1 |
  grep -q "^mirvane ($version) " || { echo "the changelog does not begin with version $version"; status=1; }

lintian "$deb" >"$out/lintian.log" 2>&1
cat "$out/lintian.log"
if grep -qE '^[EW]: ' "$out/lintian.log"; then
  echo "lintian reports errors or warnings"
  status=1
fi
[ $status -eq 0 ] && echo "package $(basename "$deb") complete, lintian clean"
exit $status
