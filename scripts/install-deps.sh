#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the application and the tests need.
set -euo pipefail
pkgs=(cmake ninja-build g++ ccache pkg-config
      qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev qt6-serialport-dev qt6-svg-dev
      qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-qpa-plugins libgl-dev
      libsqlite3-dev sqlite3 libcurl4-openssl-dev qtkeychain-qt6-dev python3-aiosmtpd
      libgtest-dev libgmock-dev libbenchmark-dev
      xvfb xauth fonts-dejavu-core socat)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
