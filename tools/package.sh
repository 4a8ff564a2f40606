#!/usr/bin/env bash
# Builds the Debian package: build-deb/mx806tr_<version>_<arch>.deb
#   tools/package.sh        then: sudo apt install ./build-deb/mx806tr_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/opt/MX_806TR \
    -DMX_XDG_DATA_DIR=/usr/share -DMX_MAN_DIR=/usr/share/man -DMX_BIN_LINK_DIR=/usr/bin \
    -DMX_DESKTOP_EXEC=/opt/MX_806TR/V100/MX_806TR \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build build-deb -j "${JOBS:-2}" --target MX_806TR mx806 mx806-radiosim templates manpage
(cd build-deb && cpack -G DEB)
ls build-deb/*.deb
