#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, when run as root;
# otherwise names exactly what is missing. fonts-wine is only a Recommends of wine, so
# --no-install-recommends would leave out Marlett and the title bars would draw letters.
set -u
packages=(cmake ninja-build g++ make libgtest-dev googletest libbenchmark-dev mingw-w64 wine wine64
          xvfb xauth libcpp-httplib-dev curl procps nsis imagemagick clang libclang-rt-14-dev fonts-wine)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || {
  echo "apt-get could not install: ${missing[*]}" >&2
  exit 1
}
