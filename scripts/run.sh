#!/usr/bin/env bash
# Starts the desktop program, or says plainly why it cannot.
set -u
cd "$(dirname "$0")/.."
bin=build/bin/alertwright
if [[ ! -x $bin ]]; then
  exec build/bin/alertwright-gen --help
fi
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "alertwright: no display (DISPLAY is not set); to run it on a virtual one: xvfb-run -a $bin" >&2
  exit 1
fi
exec "$bin"
