#!/usr/bin/env bash
# Runs the program through start-up, every menu command and every button
# under strace, on a virtual X display, and fails on anything it does to the
# system beyond showing its windows and moving the drive's tray: no file
# created or written, no network socket, no device but the drive.
#   system_calls.sh <tour executable>
set -euo pipefail
tour=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
fontcache="${XDG_CACHE_HOME:-$HOME/.cache}/fontconfig"

# What the toolkit itself does, each with the reason it is allowed.
allowed=(
    # the display connection
    'socket\(AF_UNIX, SOCK_STREAM'
    'connect\([0-9]+, \{sa_family=AF_UNIX, sun_path=@?"/tmp/\.X11-unix/X[0-9]+"'
    # the session bus (accessibility, desktop portal), where the desktop has one
    'connect\([0-9]+, \{sa_family=AF_UNIX, sun_path=@?"[^"]*(dbus|bus)[^"]*"'
    # Qt makes sure the user's runtime directory exists
    "mkdir\\(\"$XDG_RUNTIME_DIR\""
    # without a session bus, libdbus forks a child to start one; the child
    # points its standard streams at /dev/null before it runs dbus-launch
    'openat\(AT_FDCWD, "/dev/null", O_RDWR'
    # fontconfig refreshes its cache of the installed fonts when it is stale
    "\"$fontcache"
    # the optical drive, for the tray commands
    'openat\(AT_FDCWD, "/dev/(cdrom|sr0)", O_RDONLY\|O_NONBLOCK'
)

for ending in a side; do
    log="$work/$ending.log"
    xvfb-run -a strace -f -qq -o "$log" \
        -e trace=open,openat,creat,mkdir,mkdirat,rename,renameat,renameat2,unlink,unlinkat,link,linkat,symlink,symlinkat,truncate,ftruncate,chmod,fchmodat,socket,connect,bind \
        "$tour" "$ending" >/dev/null 2>&1 || { echo "the tour ending with '$ending' failed"; exit 1; }
    # The calls that touch the system: everything but plain reads.
    touching=$(grep -vE '(open|openat)\([^)]*O_RDONLY[,|)]' "$log" |
        grep -vE 'O_RDONLY\|O_(CLOEXEC|DIRECTORY|NONBLOCK|NOCTTY|LARGEFILE|NOFOLLOW|PATH)[^W]*\)' |
        grep -vE 'resumed>|<detached \.\.\.>|exited with|^[0-9]+ +\+\+\+|^[0-9]+ +---' || true)
    # Reads of devices other than the drive count too.
    devices=$(grep -E '"/dev/' "$log" | grep -vE '"/dev/(cdrom|sr0|null)"' || true)
    unexpected=$(printf '%s\n%s\n' "$touching" "$devices" | grep -v '^$' || true)
    for pattern in "${allowed[@]}"; do
        unexpected=$(printf '%s\n' "$unexpected" | grep -vE "$pattern" || true)
    done
    if [ -n "$unexpected" ]; then
        echo "tour ending with '$ending' touched the system:"
        printf '%s\n' "$unexpected"
        exit 1
    fi
    grep -qE 'AF_INET|AF_INET6' "$log" && { echo "a network socket was opened"; exit 1; }
    grep -qE '"/dev/cdrom"' "$log" || { echo "the tray commands never reached the drive"; exit 1; }
    echo "tour ending with '$ending': nothing written, no network, no device but the drive"
done
