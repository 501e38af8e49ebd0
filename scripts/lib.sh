# Shared by scripts/run and scripts/test: the Debian packages the build,
# the program and the tests need, and one way to install the missing ones.
# shellcheck shell=bash

RAVIK_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev
  qt6-base-dev libgl-dev
  fonts-dejavu-core
  xvfb xauth xdotool x11-utils imagemagick
  util-linux
  dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
)

ravik_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

ravik_install_packages() {
  local missing=() p
  for p in "${RAVIK_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# ravik_build PRESET: configure (once) and build with the CMake preset.
ravik_build() {
  local preset=$1
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
}
