#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks the tree a teacher's
# system gets: every file in its place, the desktop files valid, the
# installed programs finding what they need from the prefix.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
for f in bin/mirvane-cli bin/Mirvane lib/mirvane/Mirvane lib/mirvane/pv/vexopv \
         share/mirvane/help/index.htm "share/mirvane/help/Редактирование вопроса.htm" \
         share/applications/org.mirvane.Mirvane.desktop share/metainfo/org.mirvane.Mirvane.metainfo.xml \
         share/mime/packages/org.mirvane.Mirvane.xml share/icons/hicolor/scalable/apps/org.mirvane.Mirvane.svg \
         share/icons/hicolor/48x48/apps/org.mirvane.Mirvane.png share/icons/hicolor/256x256/apps/org.mirvane.Mirvane.png \
         share/man/man1/Mirvane.1.gz share/man/man1/mirvane-cli.1.gz \
         share/man/ru/man1/Mirvane.1.gz share/man/ru/man1/mirvane-cli.1.gz \
         share/bash-completion/completions/mirvane-cli \
         share/doc/mirvane/copyright share/doc/mirvane/changelog.gz; do
  [ -e "$prefix/$f" ] || { echo "missing: $f"; status=1; }
done
# The link finds the editor, and the editor its player and help from there.
[ "$(readlink -f "$prefix/bin/Mirvane")" = "$(readlink -f "$prefix/lib/mirvane/Mirvane")" ] || { echo "bin/Mirvane does not lead to the editor"; status=1; }
[ -x "$prefix/lib/mirvane/pv/vexopv" ] || { echo "the player is not beside the editor"; status=1; }
[ -f "$prefix/lib/mirvane/../../share/mirvane/help/index.htm" ] || { echo "the help is not where the editor looks"; status=1; }
"$prefix/bin/mirvane-cli" --version | grep -q '^mirvane-cli 1\.0\.0\.12$' || { echo "mirvane-cli --version"; status=1; }
file "$prefix/share/icons/hicolor/256x256/apps/org.mirvane.Mirvane.png" 2>/dev/null | grep -q '256 x 256' ||
  { command -v file >/dev/null && { echo "the 256 icon is not 256 x 256"; status=1; }; }

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/org.mirvane.Mirvane.desktop" || status=1
else
  echo "desktop-file-validate is not installed"; status=1
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.mirvane.Mirvane.metainfo.xml" || status=1
else
  echo "appstreamcli is not installed"; status=1
fi
[ $status -eq 0 ] && echo "install tree complete and valid"
exit $status
