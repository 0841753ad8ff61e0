#!/bin/bash
# Installs the Debian packages the build needs, when any is missing.
set -e
PKGS="cmake ninja-build g++ pkg-config ccache qt6-base-dev qt6-serialport-dev libftdi1-dev qt6-multimedia-dev gstreamer1.0-plugins-good libgl-dev fonts-dejavu-core fonts-liberation2 libxkbcommon-dev libxkbcommon-x11-dev xkb-data"
missing=""
for p in $PKGS; do
    dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
fi
