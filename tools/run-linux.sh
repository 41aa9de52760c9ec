#!/usr/bin/env bash
# Starts the program on this desktop; without one, says how to go on.
set -euo pipefail
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
    echo "welcome-station needs a display: run it from a desktop session, or try 'xvfb-run make run', or 'make snapshots' to see its windows as PNG files." >&2
    exit 1
fi
exec "$1"
