#!/usr/bin/env bash
# The Windows build, cross-compiled with mingw-w64 and run under Wine.
#   tools/windows.sh build       dist/welcome-station.exe
#   tools/windows.sh run         starts it under Wine
#   tools/windows.sh test        the behaviour suite and the executable's checks
#   tools/windows.sh soak        a whole day in fast motion
#   tools/windows.sh snapshots   docs/snapshots/windows-*.png
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows
jobs=${JOBS:-2}
[ "$jobs" -gt 2 ] && jobs=2

export WINEARCH=win64
export WINEPREFIX=$build/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}

build() {
    tools/ensure-packages.sh windows
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j "$jobs"
    mkdir -p dist
    cp "$build/src/framework/win32/welcome-station.exe" dist/welcome-station.exe
}

# The Chinese faces the windows name, and the faces Wine's dialogs and menus
# use, rendered by the Debian fonts that cover Traditional Chinese.
font_registry() {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    local face
    for face in 新細明體 細明體 PMingLiU MingLiU "MS Shell Dlg" "MS Shell Dlg 2" Tahoma \
        "Microsoft Sans Serif" "MS Sans Serif" "Segoe UI" "Microsoft JhengHei" \
        "Microsoft JhengHei UI"; do
        printf '"%s"="AR PL UMing TW"\r\n' "$face"
    done
    for face in 標楷體 DFKai-SB; do printf '"%s"="AR PL UKai TW"\r\n' "$face"; done
    # Wine draws the title bars itself: no window manager runs on the
    # virtual display.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
    printf '"Decorated"="N"\r\n"Managed"="N"\r\n'
}

prefix() {
    [ -f "$WINEPREFIX/.welcome-station" ] && return
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    echo "windows: creating the Wine prefix in $WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    font_registry | iconv -f UTF-8 -t UTF-16 >"$build/fonts.reg"
    wine regedit /S 'Z:'"${build//\//\\}"'\fonts.reg' >/dev/null 2>&1
    wineserver -w
    # Wine draws the title-bar buttons with its Marlett font, which Debian
    # ships outside the place this Wine looks for its own fonts.
    [ -f /usr/share/wine/fonts/marlett.ttf ] &&
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    touch "$WINEPREFIX/.welcome-station"
}

xvfb_pid=
start_display() {
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && return
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    done
    echo "windows: no virtual display could be started" >&2
    exit 1
}

stop_all() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}

# One virtual display and one persistent wineserver for the whole run.
start_wine() {
    prefix
    start_display
    trap stop_all EXIT
    wineserver -p 2>/dev/null || true  # one may already serve this prefix
}

passed=0
failed=0
check() {  # check <what> <command...>
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "[  CHECK OK ] $what"
    else
        failed=$((failed + 1))
        echo "[  CHECK FAILED ] $what"
    fi
}

# Only DLLs that come with every Windows: no runtime beside the program,
# and winmm.dll bound at run time from the system directory alone.
imports_are_windows_own() {
    local dlls
    dlls=$(x86_64-w64-mingw32-objdump -p dist/welcome-station.exe | sed -n 's/^\s*DLL Name: //p')
    echo "imports: $(echo $dlls)"
    ! echo "$dlls" | grep -viqE '^(kernel32|user32|gdi32|comctl32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
}

small_enough() {
    local size
    size=$(stat -c %s dist/welcome-station.exe)
    echo "size: $size bytes"
    [ "$size" -le $((1024 * 1024)) ]
}

# Wine's winmm traces every command it receives: each tray command arrives
# once, exactly, with no reply buffer and no callback window.
winmm_receives_the_tray_commands() {
    local log=$build/mci-trace.log
    WINEDEBUG=+mci wine "$build/tests/welcome_station_tests.exe" \
        --gtest_filter='Win32Windows.TrayCommandsGoToWinmmAndLeaveTheWindowAsItWas' >"$log" 2>&1 || return 1
    local open='mciSendStringW (L"set CDAudio door open", 0000000000000000, 0, 0000000000000000)'
    local closed='mciSendStringW (L"set CDAudio door closed", 0000000000000000, 0, 0000000000000000)'
    [ "$(grep -cF "$open" "$log")" -eq 1 ] && [ "$(grep -cF "$closed" "$log")" -eq 1 ] &&
        [ "$(grep -c 'mciSendStringW (L"set ' "$log")" -eq 2 ]
}

# A winmm.dll planted beside the program: a bare LoadLibraryW would take it
# (the control), the tray command must not.
planted_winmm_is_ignored() {
    local probe=$build/tests/planted/tray_probe.exe status
    [ -f "$build/tests/planted/winmm.dll" ] || return 1
    WINEDLLOVERRIDES=winmm=n,b wine "$probe" --plain >/dev/null 2>&1 && status=0 || status=$?
    echo "control: bare LoadLibraryW exits $status (3: planted DLL loaded)"
    [ "$status" -eq 3 ] || return 1
    WINEDLLOVERRIDES=winmm=n,b wine "$probe" >/dev/null 2>&1 && status=0 || status=$?
    echo "tray command exits $status (0: the system's winmm.dll)"
    [ "$status" -eq 0 ]
}

# Scenarios that cannot pass under Wine for reasons outside the program,
# each with its reason; they are reported as skipped, never as passed.
wine_limits=()

# The behaviour suite in one Wine process; its tests count one by one.
#   suite [gtest filter]
suite() {
    local log=$build/tests.log status filter=${1:-}
    if [ -z "$filter" ] && [ ${#wine_limits[@]} -gt 0 ]; then
        filter=-$(IFS=:; echo "${wine_limits[*]}")
        for t in "${wine_limits[@]}"; do echo "[  SKIPPED under Wine ] $t"; done
    fi
    wine "$build/tests/welcome_station_tests.exe" ${filter:+--gtest_filter="$filter"} >"$log" 2>&1 &&
        status=0 || status=$?
    grep -E '^\[ +(OK|FAILED) +\]|^\[  PASSED  \]|FAILED TEST' "$log" || true
    local ok bad
    ok=$(grep -cE '^\[ +OK \]' "$log" || true)
    bad=$(sed -n 's/^ *\([0-9]*\) FAILED TESTS\?$/\1/p' "$log" | tail -1)
    passed=$((passed + ok))
    failed=$((failed + ${bad:-0}))
    if [ "$status" -ne 0 ] && [ -z "$bad" ]; then
        echo "windows: the suite ended with status $status; its log is $log"
        failed=$((failed + 1))
    fi
}

run_checks() {
    suite
    check "the executable imports only Windows' own DLLs" imports_are_windows_own
    check "the executable is at most 1 MiB" small_enough
    check "winmm receives the exact tray commands" winmm_receives_the_tray_commands
    check "a winmm.dll planted beside the program is never loaded" planted_winmm_is_ignored
    echo "$passed passed, $failed failed, ${#wine_limits[@]} skipped under Wine"
    [ "$failed" -eq 0 ]
}

case "${1:-}" in
build)
    build
    ;;
run)
    build
    prefix
    [ -z "${DISPLAY:-}" ] && start_display && trap stop_all EXIT
    wine dist/welcome-station.exe
    ;;
test)
    build
    start_wine
    run_checks
    ;;
soak)
    build
    start_wine
    passed=0 failed=0
    WS_SOAK_FULL=1 suite 'Soak.*'
    grep -E '^(resident|GDI)' "$build/tests.log" || true
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    ;;
snapshots)
    "$root/tools/ensure-packages.sh" snapshots
    build
    start_wine
    out=$build/snapshots
    rm -rf "$out" && mkdir -p "$out" docs/snapshots
    wine "$build/tests/snapshots.exe" 'Z:'"${out//\//\\}"
    for f in "$out"/*.bmp; do convert "$f" "docs/snapshots/$(basename "${f%.bmp}").png"; done
    ls docs/snapshots/windows-*.png
    ;;
*)
    echo "usage: $0 build|run|test|soak|snapshots" >&2
    exit 2
    ;;
esac
