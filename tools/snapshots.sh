#!/usr/bin/env bash
# Renders the greeting box and the three windows of the Linux build to
# docs/snapshots/linux-*.png, with no display (Qt's offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p docs/snapshots
QT_QPA_PLATFORM=offscreen build/linux/tests/snapshots docs/snapshots 2>/dev/null
