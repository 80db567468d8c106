#!/bin/sh
# A new machine's first command: installs what is missing, builds the Linux
# tools and the Windows module, packages the module and renders the sample
# documents to PNG through the plug-in and a real Chromium.
set -eu
cd "$(dirname "$0")/.."
scripts/install-dependencies.sh
scripts/build.sh native windows
(cd build/windows && cpack -G ZIP >/dev/null)
echo "ondrel: the Windows plug-in is packaged in $(ls "$PWD"/build/windows/ondrel-*-win64.zip)"
scripts/render-examples.sh build/native
