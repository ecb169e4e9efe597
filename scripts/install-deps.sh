#!/usr/bin/env bash
# Installs the Debian packages Mirvane needs to build, test and run.
# Only what is missing is installed; a machine that has everything is left alone.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libexpat1-dev libzip-dev libhunspell-dev hunspell-ru hunspell-en-us
  xvfb xdotool openbox x11-utils libxcb1-dev desktop-file-utils appstream
  fonts-dejavu-core poppler-utils python3
  lintian
)
# Only `make fuzz` and `make test-sanitize` need clang (and its sanitizer and
# fuzzer runtimes); it is installed when asked for, with ccache for rebuilds.
if [ "${MIRVANE_CLANG:-${MIRVANE_FUZZ:-0}}" = 1 ]; then
  packages+=(clang libclang-rt-dev ccache)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing+=("$p") ;;
  esac
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
