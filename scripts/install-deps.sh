#!/usr/bin/env bash
# Installs what quorv needs on Debian 12: the build tools and libraries, and with --test the
# readers the interoperability tests open our files with. Installs only what is missing.
set -euo pipefail

packages=(build-essential cmake g++ zlib1g-dev libpng-dev libtiff-dev libstb-dev libgtest-dev libgmock-dev libbenchmark-dev
          pkg-config nlohmann-json3-dev)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(python3 python3-olefile default-jdk-headless libapache-poi-java libreoffice-impress calligrastage
               clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
