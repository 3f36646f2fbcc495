#!/usr/bin/env bash
# Installs what is missing, builds, starts a local kestro-server (unless one
# already answers on port 9090) with its embedded database, then the client.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if [ -x build/server/kestro-server ]; then
  if ! curl -fs -m 2 http://127.0.0.1:9090/datasnap/rest/DSAdmin/GetPlatformName >/dev/null 2>&1; then
    build/server/kestro-server >/tmp/kestro-server.log 2>&1 &
    for _ in $(seq 1 100); do
      curl -fs -m 1 http://127.0.0.1:9090/datasnap/rest/DSAdmin/GetPlatformName >/dev/null 2>&1 && break
      sleep 0.2
    done
  fi
fi
if [ -x build/app/kestro-b2b ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting the program on a virtual display (xvfb)."
    exec xvfb-run -a -s "-screen 0 1680x1050x24" build/app/kestro-b2b "$@"
  fi
  exec build/app/kestro-b2b "$@"
fi
echo "kestro-b2b is not built yet; the server (if built) runs on 127.0.0.1:9090."
