#!/usr/bin/env bash
# Installs the Debian packages the project needs; only what is missing.
set -euo pipefail
PKGS=(
  build-essential cmake pkg-config git curl ca-certificates
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libqt6svg6
  libgl1-mesa-dev libxkbcommon-dev
  libcurl4-openssl-dev libcpp-httplib-dev libsimdjson-dev
  libjpeg62-turbo-dev zlib1g-dev libxlsxwriter-dev libsqlite3-dev
  xvfb xauth x11-utils imagemagick fonts-dejavu-core
  libqt6concurrent6
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
