#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the application, the tools and the
# tests need. Every name is a real package (not a virtual one that dpkg never
# reports as installed), so a machine that has them all makes no apt call.
set -euo pipefail
pkgs=(cmake ninja-build g++ ccache pkg-config
      qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev qt6-serialport-dev qt6-svg-dev
      qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-qpa-plugins libgl-dev
      libsqlite3-dev sqlite3 libcurl4-openssl-dev qtkeychain-qt6-dev python3-aiosmtpd
      qt6-multimedia-dev libarchive-dev poppler-utils
      libgtest-dev libgmock-dev libbenchmark-dev
      xvfb xauth fonts-dejavu-core socat
      clang libclang-rt-14-dev)
# One dpkg-query for the whole list: it prints only the packages it knows.
installed=$(dpkg-query -W -f='${db:Status-Status} ${Package}\n' "${pkgs[@]}" 2>/dev/null |
            awk '$1 == "installed" { print $2 }' || true)
missing=()
for p in "${pkgs[@]}"; do
  grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
