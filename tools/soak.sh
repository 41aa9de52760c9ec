#!/usr/bin/env bash
# A whole day in fast motion on every platform: 86,400 clock ticks, 1,000
# help windows and 1,000 switches to the side tool and back; memory (and on
# Windows the GDI and USER objects) must stay flat.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "== Linux (Qt)"
WS_SOAK_FULL=1 QT_QPA_PLATFORM=offscreen build/linux/tests/welcome_station_tests --gtest_filter='Soak.*' 2>&1 |
    grep -vE 'does not support|XDG_RUNTIME_DIR'
echo "== Windows (Win32 under Wine)"
tools/windows.sh soak
