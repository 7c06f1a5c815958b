#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, when missing.
set -euo pipefail
packages=(cmake ninja-build ccache g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev
          libcli11-dev g++-mingw-w64-i686 pkg-config libcairo2-dev libfontconfig-dev
          libpixman-1-dev fonts-dejavu-core pocketsphinx pocketsphinx-en-us sox
          libboost-dev nlohmann-json3-dev chromium libexpat1 zlib1g)
# The browser test needs node and npm; a machine may already carry them from
# elsewhere (a node distribution's own nodejs, which conflicts with Debian's npm).
command -v npm >/dev/null || packages+=(nodejs npm)
# The Windows module is loaded and checked under 32-bit Wine in a virtual display.
packages+=(wine wine32:i386 fonts-wine xvfb xauth)
# The sound generator also needs flite.
if [ "${1:-}" = "--assets" ]; then packages+=(flite); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# The browser test drives Debian's Chromium through playwright-core, which
# downloads no browser of its own.
browser_tests="$(dirname "$0")/../tests/browser"
if [ ! -d "$browser_tests/node_modules/playwright-core" ]; then
  echo "setup: installing the browser test's node packages"
  (cd "$browser_tests" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --silent)
fi
# The host's flight dynamics is JSBSim, which Debian ships only as one program
# inside the flightgear package (the scenery it would pull in is 1.6 GB). The
# package is fetched alone and just that program taken out of it, into
# .jsbsim/ in the checkout (git ignores it); it needs only libz and libexpat.
jsbsim_dir="$(dirname "$0")/../.jsbsim"
if [ ! -x "$jsbsim_dir/JSBSim" ] && [ -z "${Z480_JSBSIM:-}" ]; then
  echo "setup: fetching JSBSim from Debian's flightgear package"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  # apt's sandbox user needs to write into the download folder.
  chmod 777 "$work"
  (cd "$work" && apt-get download -qq flightgear 2>/dev/null || { apt-get update -qq && apt-get download -qq flightgear; })
  dpkg-deb --fsys-tarfile "$work"/flightgear_*.deb | tar -x -C "$work" ./usr/games/JSBSim
  mkdir -p "$jsbsim_dir"
  mv "$work/usr/games/JSBSim" "$jsbsim_dir/JSBSim"
fi
