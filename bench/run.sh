#!/usr/bin/env bash
# The benchmarks: the program against floor programs built from the same
# toolkit, side by side in the same run, on Linux (Qt on Xvfb) and on
# Windows (Win32 under Wine on Xvfb). Writes bench/results.md; the raw
# figures of every run are left in bench/out/.
#   bench/run.sh [--minutes N] [--runs N] [--start-runs N] [--idle SECONDS]
#     --minutes     how long the clock is watched (default 10)
#     --runs        repetitions of the idle figures; each is a median (default 5)
#     --start-runs  repetitions of the start-up figures, which take a fraction
#                   of a second each and vary the most (default 15)
#     --idle     the idle period measured (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

minutes=10
runs=5
start_runs=15
idle=60
while [ $# -gt 0 ]; do
    case $1 in
    --minutes) minutes=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --start-runs) start_runs=$2; shift 2 ;;
    --idle) idle=$2; shift 2 ;;
    *) echo "usage: $0 [--minutes N] [--runs N] [--start-runs N] [--idle SECONDS]" >&2; exit 2 ;;
    esac
done

out=$root/bench/out
bench=$root/build/bench
benchwin=$root/build/bench-windows
program=$root/build/linux/src/framework/qt/welcome-station
exe=$root/dist/welcome-station.exe
rm -rf "$out"
mkdir -p "$out"
log() { echo "bench: $*" >&2; }

# ---- what the benchmarks need ---------------------------------------------
"$root/tools/ensure-packages.sh" bench

# ---- the floors, the probe and the clock watch ----------------------------
log "building the bench tree"
cmake -S bench -B "$bench" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$out/cmake-linux.log"
cmake --build "$bench" -j1 >>"$out/cmake-linux.log"
cmake -S bench -B "$benchwin" -DCMAKE_TOOLCHAIN_FILE="$root/bench/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel >"$out/cmake-windows.log"
cmake --build "$benchwin" -j1 >>"$out/cmake-windows.log"

# ---- displays and Wine prefixes -------------------------------------------
pids=()      # what to stop at the end
prefixes=()  # whose wineserver to stop at the end
cleanup() {
    local p
    for p in "${prefixes[@]}"; do WINEPREFIX=$p wineserver -k 2>/dev/null || true; done
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

# Starts a virtual display of its own; sets $display.
start_display() {
    local f
    f=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$f" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 200); do [ -s "$f" ] && break; sleep 0.05; done
    display=":$(head -1 "$f")"
    rm -f "$f"
    [ "$display" != ":" ] || { echo "bench: no virtual display" >&2; exit 1; }
}

export WINEARCH=win64 WINEDEBUG=-all
template=$bench/wine-template
# The Chinese faces the program names, and the faces Wine's own dialogs
# use, rendered by the Debian fonts that cover Traditional Chinese.
font_registry() {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    local face
    for face in 新細明體 細明體 PMingLiU MingLiU "MS Shell Dlg" "MS Shell Dlg 2" Tahoma \
        "Microsoft Sans Serif" "MS Sans Serif" "Segoe UI"; do
        printf '"%s"="AR PL UMing TW"\r\n' "$face"
    done
    for face in 標楷體 DFKai-SB; do printf '"%s"="AR PL UKai TW"\r\n' "$face"; done
}
make_template() {
    [ -f "$template/.bench" ] && return
    log "creating a Wine prefix"
    rm -rf "$template"
    mkdir -p "$template"
    start_display
    (
        export WINEPREFIX=$template DISPLAY=$display WINEDLLOVERRIDES="mscoree,mshtml="
        wineboot -i >/dev/null 2>&1
        font_registry | iconv -f UTF-8 -t UTF-16 >"$bench/fonts.reg"
        wine regedit /S 'Z:'"${bench//\//\\}"'\fonts.reg' >/dev/null 2>&1
        wineserver -w
    )
    touch "$template/.bench"
}
# A prefix of its own for one run, sharing the template's files: its
# registry is a copy, so that every run has its own wineserver. Sets $prefix.
clone_prefix() {
    local p=$bench/wine-$1
    prefix=$p
    rm -rf "$p"
    mkdir -p "$p"
    cp -al "$template/drive_c" "$p/"
    cp -a "$template/dosdevices" "$template"/*.reg "$template/.update-timestamp" "$p/"
    prefixes+=("$p")
}

# ---- figures --------------------------------------------------------------
# value KEY FILE: one figure from a probe's or clock watch's output.
value() { sed -n "s/^$1=//p" "$2" | head -1; }
# median of the numbers on standard input
median() {
    sort -g | awk '{a[NR] = $1} END {
        if (NR == 0) { print "-"; exit }
        if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}
# med KEY FILES...: the median of one figure over runs
med() {
    local key=$1 f
    shift
    for f in "$@"; do value "$key" "$f"; done | { grep -E '^-?[0-9.]+$' || true; } | median
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b }'; }
verdict() { awk -v r="$1" 'BEGIN { if (r == "-") print "-"; else if (r <= 1.05) print "meets"; else print "misses" }'; }
errors() { { grep -l '^error=' "$@" 2>/dev/null || true; } | wc -l; }

windows_built=
[ -f "$exe" ] && windows_built=1

# ---- Linux: start-up -------------------------------------------------------
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$out/runtime
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
probe=$bench/xprobe

log "Linux start-up: $start_runs runs each, alternating"
start_display
for warm in 1 2; do  # fill the font and file caches first
    DISPLAY=$display "$probe" --press-ok -- "$bench/floor_qt_greeting" >/dev/null 2>&1 || true
    DISPLAY=$display "$probe" --press-ok -- "$program" >/dev/null 2>&1 || true
done
for i in $(seq "$start_runs"); do
    DISPLAY=$display "$probe" --press-ok -- "$bench/floor_qt_greeting" \
        >"$out/linux-start-floor-$i.txt" 2>>"$out/linux-start.log" || true
    DISPLAY=$display "$probe" --press-ok -- "$program" \
        >"$out/linux-start-program-$i.txt" 2>>"$out/linux-start.log" || true
done

# ---- Windows under Wine: start-up ------------------------------------------
unset LC_ALL
export LANG=C.UTF-8
if [ -n "$windows_built" ]; then
    make_template
    log "Windows start-up: $start_runs runs each, alternating, one warm wineserver"
    start_display
    clone_prefix start
    p=$prefix
    WINEPREFIX=$p wineserver -p >/dev/null 2>&1
    # The plain floor is the greeting floor without the program's manifest.
    for warm in 1 2; do
        for e in "$benchwin/floor_win32_greeting.exe" "$benchwin/floor_win32_greeting_plain.exe" \
            "$exe"; do
            DISPLAY=$display "$probe" --press-ok --timeout 120 -- env WINEPREFIX="$p" wine "$e" \
                >/dev/null 2>&1 || true
        done
    done
    for i in $(seq "$start_runs"); do
        DISPLAY=$display "$probe" --press-ok -- env WINEPREFIX="$p" wine \
            "$benchwin/floor_win32_greeting.exe" >"$out/windows-start-floor-$i.txt" \
            2>>"$out/windows-start.log" || true
        DISPLAY=$display "$probe" --press-ok -- env WINEPREFIX="$p" wine \
            "$benchwin/floor_win32_greeting_plain.exe" >"$out/windows-start-plainfloor-$i.txt" \
            2>>"$out/windows-start.log" || true
        DISPLAY=$display "$probe" --press-ok -- env WINEPREFIX="$p" wine "$exe" \
            >"$out/windows-start-program-$i.txt" 2>>"$out/windows-start.log" || true
    done
    WINEPREFIX=$p wineserver -k || true
fi

# ---- the clock, watched in the background while the idle figures run -----
# Started after the start-up runs: Wine's boot for the Windows watch would
# otherwise share the machine with them, by a different amount in each run.
log "watching the clock for $minutes minutes (Linux) in the background"
LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen "$bench/clock_accuracy" --minutes "$minutes" \
    >"$out/clock-linux.txt" 2>"$out/clock-linux.log" &
clock_linux=$!
pids+=("$clock_linux")

clock_windows=
if [ -n "$windows_built" ]; then
    if [ -f "$benchwin/clock_accuracy.exe" ]; then
        log "watching the clock for $minutes minutes (Windows) in the background"
        start_display
        clone_prefix clock
        p=$prefix
        DISPLAY=$display WINEPREFIX=$p wine "$benchwin/clock_accuracy.exe" --minutes "$minutes" \
            >"$out/clock-windows.txt" 2>"$out/clock-windows.log" &
        clock_windows=$!
        pids+=("$clock_windows")
    fi
fi

# ---- Linux: idle -----------------------------------------------------------
export LC_ALL=C.UTF-8
probes=()
wait_probes() {  # waits for the probes started in the background
    local j
    for j in "${probes[@]}"; do wait "$j" || true; done
    probes=()
}
log "Linux idle: $runs runs each, all at once, ${idle} s"
for i in $(seq "$runs"); do
    start_display
    DISPLAY=$display "$probe" --idle "$idle" --settle 5 -- "$bench/floor_qt_idle" \
        >"$out/linux-idle-floor-$i.txt" 2>>"$out/linux-idle.log" &
    probes+=($!)
    start_display
    DISPLAY=$display "$probe" --press-ok --idle "$idle" --settle 5 -- "$program" \
        >"$out/linux-idle-program-$i.txt" 2>>"$out/linux-idle.log" &
    probes+=($!)
done
wait_probes

# wine_probe PHASE-WHO-N EXE PROBE-ARGS...: one Windows run in the background,
# on a display and in a Wine prefix of its own; its figures go to
# bench/out/windows-PHASE-WHO-N.txt.
wine_probe() {
    local run=$1 exe=$2
    shift 2
    start_display
    clone_prefix "$run"
    DISPLAY=$display "$probe" "$@" --settle 20 --timeout 180 --wine-prefix "$prefix" \
        --main "$(basename "$exe" .exe)" -- env WINEPREFIX="$prefix" wine "$exe" \
        >"$out/windows-$run.txt" 2>>"$out/windows-${run%%-*}.log" &
    probes+=($!)
}

# ---- Windows under Wine: idle ----------------------------------------------
unset LC_ALL
export LANG=C.UTF-8
if [ -n "$windows_built" ]; then
    log "Windows idle: $runs runs each, all at once, ${idle} s, a wineserver each"
    for i in $(seq "$runs"); do
        wine_probe idle-floor-$i "$benchwin/floor_win32_idle.exe" --idle "$idle"
        wine_probe idle-program-$i "$exe" --press-ok --idle "$idle"
    done
    wait_probes
    for p in "${prefixes[@]}"; do
        case $p in */wine-idle-*) WINEPREFIX=$p wineserver -k 2>/dev/null || true ;; esac
    done
fi

# ---- memory against the welcome window written straight in the toolkit ----
# The program and a hand-made welcome window (the same box, captions, faces,
# picture and menus without the forms layer), all at once; only their peak
# resident memory is read, so they stay up briefly.
log "memory against the hand-made welcome window: $runs runs each, all at once"
export LC_ALL=C.UTF-8
for i in $(seq "$runs"); do
    start_display
    DISPLAY=$display "$probe" --press-ok --idle 2 --settle 5 -- "$bench/floor_qt_welcome" \
        >"$out/linux-memory-welcome-$i.txt" 2>>"$out/linux-memory.log" &
    probes+=($!)
    start_display
    DISPLAY=$display "$probe" --press-ok --idle 2 --settle 5 -- "$program" \
        >"$out/linux-memory-program-$i.txt" 2>>"$out/linux-memory.log" &
    probes+=($!)
done
wait_probes
unset LC_ALL
if [ -n "$windows_built" ]; then
    for i in $(seq "$runs"); do
        wine_probe memory-welcome-$i "$benchwin/floor_win32_welcome.exe" --press-ok --idle 2
        wine_probe memory-program-$i "$exe" --press-ok --idle 2
    done
    wait_probes
    for p in "${prefixes[@]}"; do
        case $p in */wine-memory-*) WINEPREFIX=$p wineserver -k 2>/dev/null || true ;; esac
    done
fi

log "waiting for the clock watches"
wait "$clock_linux" || true
[ -n "$clock_windows" ] && { wait "$clock_windows" || true; }

# ---- results.md -----------------------------------------------------------
F() { ls "$out"/$1-*.txt 2>/dev/null; }
# paired KEY PLATFORM-PHASE FLOOR: the median of the runs' own ratios, each
# program run against the floor run just before it on the same display.
paired() {
    local key=$1 phase=$2 floor=$3 i a b
    for i in $(seq "$start_runs"); do
        a=$(value "$key" "$out/$phase-program-$i.txt" 2>/dev/null || true)
        b=$(value "$key" "$out/$phase-$floor-$i.txt" 2>/dev/null || true)
        awk -v a="$a" -v b="$b" 'BEGIN { if (a ~ /^[0-9.]+$/ && b ~ /^[0-9.]+$/ && b > 0) print a / b }'
    done | median | awk '{ if ($1 == "-") print "-"; else printf "%.2f\n", $1 }'
}
row() {  # row LABEL KEY PLATFORM-PHASE [FLOOR]
    local label=$1 key=$2 phase=$3 floor=${4:-floor} fl pr r
    fl=$(med "$key" $(F "$phase-$floor"))
    pr=$(med "$key" $(F "$phase-program"))
    case $phase in
    *-start) r=$(paired "$key" "$phase" "$floor") ;;
    *) r=$(ratio "$pr" "$fl") ;;
    esac
    echo "| $label | $pr | $fl | $r | $(verdict "$r") |"
}
plain() {  # plain LABEL KEY PLATFORM-PHASE WHO
    echo "| $1 | $(med "$2" $(F "$3-$4")) |"
}
cpu_model=$(sed -n 's/^model name\s*:\s*//p' /proc/cpuinfo | head -1)
mem=$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)
qt=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)

platform_tables() {  # platform_tables linux|windows
    local p=$1 toolkit=Qt
    [ "$p" = windows ] && toolkit=Win32
    echo "| figure (median of $runs; start-up of $start_runs) | program | floor | ratio | target ≤ 1.05 |"
    echo "|---|---|---|---|---|"
    row "start → greeting box mapped (ms)" map_ms "$p-start"
    [ "$p" = windows ] &&
        row "… against the same box without the program's manifest (ms)" map_ms "$p-start" plainfloor
    row "CPU over ${idle} s idle, utime+stime, whole process tree (ms)" cpu_ms "$p-idle"
    row "CPU over ${idle} s idle, scheduler run time, whole tree (ms)" sched_ms "$p-idle"
    [ "$p" = windows ] && row "… of which wineserver (ms)" wineserver_ms "$p-idle"
    [ "$p" = windows ] && row "… of which the program's own process (ms)" main_sched_ms "$p-idle"
    row "main-thread context switches per s (voluntary+involuntary)" wake_per_s "$p-idle"
    row "… voluntary only (the thread's own wake-ups) per s" voluntary_per_s "$p-idle"
    row "peak resident memory, VmHWM (KiB)" hwm_kb "$p-idle"
    row "… against the welcome window written straight in $toolkit (KiB)" hwm_kb "$p-memory" welcome
    echo
    echo "| figure (median of $start_runs) | program | floor |"
    echo "|---|---|---|"
    echo "| Return pressed in the greeting box → box unmapped (ms) | $(med ok_unmap_ms $(F "$p-start-program")) | $(med ok_unmap_ms $(F "$p-start-floor")) |"
    echo "| Return pressed in the greeting box → welcome window mapped (ms) | $(med ok_ms $(F "$p-start-program")) | – |"
    echo
    echo "The hand-made welcome window's own peak against the bare idle floor:" \
        "$(ratio "$(med hwm_kb $(F "$p-memory-welcome"))" "$(med hwm_kb $(F "$p-idle-floor"))")."
    local failed
    failed=$(errors $(F "$p-start") $(F "$p-idle") $(F "$p-memory"))
    echo
    echo "Runs that failed (see bench/out/): $failed."
}

clock_line() {  # clock_line FILE
    local f=$1
    if [ ! -s "$f" ] || grep -q '^error=' "$f"; then
        echo "| did not run: $(value error "$f" 2>/dev/null) | | | | |"
        return
    fi
    echo "| $(value minutes "$f") min, $(value samples "$f") readings every $(value sample_ms "$f") ms | $(value skipped "$f") | $(value twice "$f") | $(value stalled "$f") | $(value period_ms "$f") ms, changed $(value period_changes "$f") times |"
}

{
    echo "# Benchmarks"
    echo
    echo "Written by \`make bench\` (bench/run.sh) on $(date -u '+%Y-%m-%d %H:%M UTC')."
    echo
    echo "Machine: $(nproc) cores, $cpu_model, $mem memory, Linux $(uname -r);"
    echo "Qt $qt; $(wine --version 2>/dev/null || echo 'no Wine');"
    echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg) (other builds may share the machine)."
    echo
    echo "Every idle figure is the median of $runs runs, every start-up figure of $start_runs; the program"
    echo "and its floor run side by side in the same run: start-up runs alternate on one display,"
    echo "idle runs all run at once, each on a display of its own. The floors (bench/floors/) do the"
    echo "least the program does, with the same toolkit: the same greeting box alone; and one active"
    echo "window of the welcome window's size with a focused text box holding the same text and a"
    echo "label that a 1000 ms timer writes the time into. On Windows the floors carry the program's"
    echo "manifest (common controls 6 with visual styles, per-monitor DPI awareness), so that their"
    echo "box and controls are the program's; what the manifest costs is shown against the same"
    echo "box without it. A start-up ratio is the median of the runs' own ratios, each program run"
    echo "against the floor run just before it: this machine's speed drifts over a run by more"
    echo "than the difference measured, and a pair shares the moment it ran in."
    echo
    echo "Peak memory is measured twice. Against the bare idle floor it misses, and so does the"
    echo "welcome window written straight in the toolkit (bench/floors/*_welcome.cpp: the same box,"
    echo "captions, faces and sizes, picture, icon, menus and clock, without the forms layer; its"
    echo "own ratio is given under each table): what both add to the floor is what the window shows."
    echo "Its seventy-odd Chinese characters in two faces and five sizes: each glyph read maps the"
    echo "kernel's 64 KiB fault-around window of the font file (clean page-cache pages, shared"
    echo "with every program using the font), and the box, menu bar, frame and buttons bring the"
    echo "toolkit code that draws them. Against the hand-made window the figure is the cost of the"
    echo "program's own code, and the target is held there."
    echo
    echo "## Linux (Qt 6, xcb on Xvfb)"
    echo
    platform_tables linux
    echo
    echo "## Windows (Win32 under Wine, on Xvfb)"
    echo
    if [ -n "$windows_built" ]; then
        platform_tables windows
        echo
        size=$(stat -c %s "$exe")
        dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')
        foreign=$(echo "$dlls" | tr ' ' '\n' | grep -v '^$' |
            grep -viE '^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|ole32|oleaut32|winmm|version|uxtheme|msimg32|imm32|shlwapi|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$' |
            tr '\n' ' ' || true)
        floor_size=$(stat -c %s "$benchwin/floor_win32_idle.exe")
        echo "| the executable | figure | target |"
        echo "|---|---|---|"
        echo "| dist/welcome-station.exe size | $size bytes ($(awk -v s="$size" 'BEGIN {printf "%.2f", s / 1048576}') MiB; the idle floor: $floor_size bytes) | ≤ 1 MiB: $([ "$size" -le 1048576 ] && echo meets || echo misses) |"
        echo "| imported DLLs | $dlls | only DLLs Windows ships: $([ -z "$foreign" ] && echo meets || echo "misses ($foreign)") |"
    else
        echo "Not built: dist/welcome-station.exe does not exist (\`make windows\` builds it); the"
        echo "Windows figures were skipped."
    fi
    echo
    echo "## Clock accuracy"
    echo
    echo "The real program driven in-process by its automation (Linux: Qt's offscreen platform;"
    echo "Windows: the Win32 build under Wine on Xvfb), the clock label read ten times a second."
    echo
    echo "| platform | watched | seconds skipped | seconds shown twice | stalls | period |"
    echo "|---|---|---|---|---|---|"
    clock_line "$out/clock-linux.txt" | sed 's/^| /| Linux | /'
    if [ -n "$clock_windows" ]; then
        clock_line "$out/clock-windows.txt" | sed 's/^| /| Windows | /'
    elif [ -n "$windows_built" ]; then
        echo "| Windows | not built: no ws_win32_automation in build/windows | | | | |"
    else
        echo "| Windows | not built | | | | |"
    fi
    echo
    echo "## How it is measured"
    echo
    echo "- bench/tools/xprobe starts the program, selects SubstructureNotify on the root window and"
    echo "  reports the first MapNotify of a top-level window (not a menu or tooltip) after the"
    echo "  launch. It is also the display's window manager, a minimal ICCCM one: it maps windows on"
    echo "  request, passes configure requests on, keeps WM_STATE and gives each newly mapped window"
    echo "  the focus. OK is pressed with an XTEST Return key event, which goes to the focused box."
    echo "  (With no window manager at all Wine waits 2 s on every window it hides for a WM_STATE"
    echo "  change, and gives its windows no focus, so XTEST keys reach nothing.)"
    echo "- Idle: once the last window is mapped and has settled (5 s on Linux, 20 s under Wine), the"
    echo "  CPU over ${idle} s is utime+stime from /proc/PID/stat (10 ms ticks) and, finer, the sum of"
    echo "  /proc/PID/task/*/schedstat run times. Under Wine it is every process started with the"
    echo "  run's own WINEPREFIX: the program, wineserver (each run has its own, counted in the tree"
    echo "  and shown apart) and the services Wine starts (explorer, services, winedevice, plugplay,"
    echo "  svchost, rpcss). Wake-ups are the main thread's context switches from"
    echo "  /proc/PID/task/PID/status; the involuntary ones follow the machine's load rather than"
    echo "  the program, so the voluntary ones are shown apart. Memory is VmHWM of the program's"
    echo "  own process."
    echo "- Memory against the hand-made welcome window: its runs and the program's, all at once,"
    echo "  each on a display of its own, read 2 s after the windows have settled, OK pressed in"
    echo "  both greeting boxes."
    echo "- The start-up runs come first, alone on the machine; the two clock watches start after"
    echo "  them and run beside the idle runs (Wine's boot for the Windows watch, shared with the"
    echo "  start-up runs, slowed each run by a different amount)."
    echo "- Windows start-up runs share one warm, persistent wineserver (wineserver -p), so they time"
    echo "  the program's process and not Wine's boot."
    echo "- The probe presses Return the moment the greeting box is mapped. The program finishes"
    echo "  building the welcome window while the box is up (on Linux once the box has painted, on"
    echo "  Windows once the box is painted and its thread has waited once); a Return that quick"
    echo "  comes first, the window is finished after it, and the two Return figures include that"
    echo "  work. Nobody reads the box that fast."
} >bench/results.md
log "wrote bench/results.md"
