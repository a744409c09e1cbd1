#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is
# missing; packages named as arguments are added (scripts/fuzz.sh: clang).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  binutils-mingw-w64-x86-64 cpp
  libcairo2-dev libfontconfig1-dev libpng-dev fonts-dejavu-core fonts-noto-cjk
  unixodbc-dev odbcinst libsqliteodbc sqlite3 libsqlite3-dev postgresql odbc-postgresql
  libdfp-dev ccache libicu-dev duktape-dev
  libgraphicsmagick1-dev
  poppler-utils libreoffice-writer-nogui
  libxcb1-dev libxcb-shm0-dev libxcb-xkb-dev libxcb-xtest0-dev libxkbcommon-dev libxkbcommon-x11-dev
  libx11-data xvfb x11-xkb-utils
  python3
)

packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "bootstrap: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
