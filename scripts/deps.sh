#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, skipping those that
# are installed already. Shared by run.sh and test.sh.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev qt6-image-formats-plugins
    libsqlite3-dev libexiv2-dev libsane-dev sane-utils libgraphicsmagick++1-dev
    libopenjp2-7-dev libgif-dev libtiff-dev libjpeg-dev libturbojpeg0-dev libjpeg-turbo-progs
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good fonts-noto-cjk
    xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
