#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# The benchmark behind `make bench`. Reports; never fails on a figure.
#  1. Start-up under Xvfb: exec to first window mapped and to first paint, and peak RSS, for
#     the program and for a logic-free floor window, interleaved round by round; then natively
#     under Wayland (weston nested in Xvfb): exec to the first frame sent, and peak RSS.
#  2. In-process Qt Test benchmarks: a conversion, a spinner step with its durable write,
#     building and showing the window.
#  3. Idle: CPU time and wakeups over 10 s, without and with focus in a text field.
#   run.sh BUILD_DIR [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
source tests/e2e/common.sh # start_xvfb
build=${1:-build}
rounds=${2:-30}
program=$build/app/kavro
floor=$build/bench/kavro_floor
watcher=$build/bench/startup_watcher

work=$(mktemp -d)
# The store goes where the user's real one lives, not to /tmp, which may be RAM-backed and
# would make every durable write free.
config_root=${XDG_CONFIG_HOME:-$HOME/.config}
mkdir -p "$config_root"
store_dir=$(mktemp -d "$config_root/kavro-bench.XXXXXX")
export XDG_CONFIG_HOME=$store_dir XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
export XDG_CACHE_HOME=$work/cache
unset QT_SCALE_FACTOR QT_QPA_PLATFORMTHEME
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The X server on one core and the measured program on another, where there are two: on a
# shared core their scheduling, not the program, sets most of the spread.
pin_server=()
pin_program=()
if [[ $(nproc) -ge 2 ]] && command -v taskset > /dev/null; then
    pin_server=(taskset -c 0)
    pin_program=(taskset -c 1)
fi
bus_pid=
running=
compositor=
cleanup() {
    [[ -n $compositor ]] && kill "$compositor" 2> /dev/null || true
    [[ -n $running ]] && kill "$running" 2> /dev/null || true
    [[ -n $bus_pid ]] && kill "$bus_pid" 2> /dev/null || true
    stop_xvfb
    rm -rf "$work" "$store_dir"
}
trap cleanup EXIT
start_xvfb "$work/display" 1024x768x24 "${pin_server[@]}"
# A private session bus, as a desktop session has, so that neither program autolaunches one.
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
    awk 'NR == 1 { print "export DBUS_SESSION_BUS_ADDRESS=" $0 } NR == 2 { print "bus_pid=" $0 }')"
fc-cache > /dev/null 2>&1 || true


median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
quartiles() { sort -n | awk '{ v[NR] = $1 } END { printf "%.3f-%.3f", v[int(NR * 0.25 + 0.5)], v[int(NR * 0.75 + 0.5)] }'; }

# Interleaved rounds of one watcher over the program and the floor: NAME.program, NAME.floor.
measure() { # name, watcher
    : > "$work/$1.program" && : > "$work/$1.floor"
    local round which order target line
    for round in $(seq -3 "$rounds"); do
        # Alternate which one goes first, so that neither always meets a warmer cache.
        if (( round % 2 )); then order="program floor"; else order="floor program"; fi
        for which in $order; do
            if [[ $which == program ]]; then target=$program; else target=$floor; fi
            line=$("${pin_program[@]}" "$2" "$target")
            (( round > 0 )) && echo "$line" >> "$work/$1.$which"
        done
    done
}
report() { # name, column, label, unit scale, unit
    local name=$1 column=$2 p f spread
    local columns
    columns=$(awk '{ print NF; exit }' "$work/$name.program")
    p=$(awk -v c="$column" '{ print $c }' "$work/$name.program" | median)
    f=$(awk -v c="$column" '{ print $c }' "$work/$name.floor" | median)
    spread=$(paste -d ' ' "$work/$name.program" "$work/$name.floor" |
        awk -v c="$column" -v n="$columns" '{ print $c / $(c + n) }' | quartiles)
    awk -v n="$3" -v p="$p" -v f="$f" -v s="$4" -v u="$5" -v q="$spread" 'BEGIN {
        printf "%-20s program %8.2f %s   floor %8.2f %s   ratio %.3f   (per-round ratio, middle half: %s)\n",
            n, p / s, u, f / s, u, p / f, q }'
}

echo "== Start-up under Xvfb: $rounds interleaved rounds after 3 warm-up rounds =="
echo "machine: $(nproc) cores, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)"
measure x11 "$watcher"
report x11 1 "exec to map" 1000 ms
report x11 2 "exec to first paint" 1000 ms
report x11 3 "peak RSS (VmHWM)" 1024 MiB

# The machine's fonts: the program as it starts here, against the same program given a font
# configuration of a few faces (IPA and DejaVu, under the system's rules), with GTK's
# galculator beside them where it is installed. KAVRO_BENCH_BASELINE=path/to/another/kavro
# adds that build, started both ways, to the same rounds.
few=$work/few-fonts.conf
cat > "$few" << XML
<?xml version="1.0"?>
<fontconfig>
  <dir>/usr/share/fonts/opentype/ipafont-gothic</dir>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$work/few-fonts-cache</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
XML
FONTCONFIG_FILE=$few fc-cache > /dev/null 2>&1 || true
# Each variant: label|environment|program. A baseline that kept files of its own between
# starts is measured as the program starts, with nothing kept.
variants=("program||$program" "program, a few faces|FONTCONFIG_FILE=$few|$program"
    "floor||$floor" "floor, a few faces|FONTCONFIG_FILE=$few|$floor")
if [[ -n ${KAVRO_BENCH_BASELINE:-} ]]; then
    variants+=("baseline|XDG_CACHE_HOME=/dev/null/kavro-bench|$KAVRO_BENCH_BASELINE"
        "baseline, a few faces|FONTCONFIG_FILE=$few|$KAVRO_BENCH_BASELINE")
fi
command -v galculator > /dev/null && variants+=("galculator (GTK 3)||galculator")
echo
echo "== Start-up with this machine's $(fc-list | wc -l) font faces and with a few ($(FONTCONFIG_FILE=$few fc-list | wc -l)): $rounds interleaved rounds =="
for round in $(seq -3 "$rounds"); do
    # A different variant goes first each round.
    for ((i = 0; i < ${#variants[@]}; i++)); do
        index=$(((i + round + 3) % ${#variants[@]}))
        IFS='|' read -r _ environment target <<< "${variants[index]}"
        # shellcheck disable=SC2086 # an empty environment is no argument
        line=$(env $environment "${pin_program[@]}" "$watcher" "$target" 2> /dev/null)
        (( round > 0 )) && echo "$line" >> "$work/fonts.$index"
    done
done
base_map=$(awk '{ print $1 }' "$work/fonts.1" | median)
base_paint=$(awk '{ print $2 }' "$work/fonts.1" | median)
for ((i = 0; i < ${#variants[@]}; i++)); do
    IFS='|' read -r label _ <<< "${variants[i]}"
    map=$(awk '{ print $1 }' "$work/fonts.$i" | median)
    paint=$(awk '{ print $2 }' "$work/fonts.$i" | median)
    awk -v n="$label" -v m="$map" -v p="$paint" -v bm="$base_map" -v bp="$base_paint" 'BEGIN {
        printf "%-26s map %7.2f ms (%.3f)   first paint %7.2f ms (%.3f)\n", n, m / 1000, m / bm, p / 1000, p / bp }'
done
echo "(ratios against the program with a few faces)"
ratio() { # numerator variant, denominator variant
    awk -v a="$(awk '{ print $1 }' "$work/fonts.$1" | median)" -v b="$(awk '{ print $1 }' "$work/fonts.$2" | median)" \
        -v c="$(awk '{ print $2 }' "$work/fonts.$1" | median)" -v d="$(awk '{ print $2 }' "$work/fonts.$2" | median)" \
        'BEGIN { printf "map %.3f, first paint %.3f", a / b, c / d }'
}
echo "the program, this machine's faces against a few: $(ratio 0 1)"
echo "the program against the floor, a few faces:      $(ratio 1 3)"
[[ ${variants[-1]} == galculator* ]] &&
    echo "the program against galculator, this machine's: $(ratio 0 $((${#variants[@]} - 1)))"

# Natively under Wayland: weston nested in the same Xvfb, on the X server's core.
if command -v weston > /dev/null; then
    echo
    echo "== Start-up natively under Wayland (weston $(weston --version | awk '{ print $2 }'), pixman): $rounds interleaved rounds =="
    "${pin_server[@]}" weston --backend=x11-backend.so --use-pixman --socket=kavro-bench \
        --width=800 --height=600 > "$work/weston.log" 2>&1 &
    compositor=$!
    for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/kavro-bench ]] && break; sleep 0.1; done
    WAYLAND_DISPLAY=kavro-bench measure wayland "$build/bench/wayland_watcher"
    kill "$compositor" 2> /dev/null || true
    report wayland 1 "exec to first frame" 1000 ms
    report wayland 2 "peak RSS (VmHWM)" 1024 MiB
    x11_rss=$(awk '{ print $3 }' "$work/x11.program" | median)
    wayland_rss=$(awk '{ print $2 }' "$work/wayland.program" | median)
    awk -v w="$wayland_rss" -v x="$x11_rss" 'BEGIN {
        printf "%-20s the program natively under Wayland against under X11: ratio %.3f\n", "peak RSS", w / x }'
fi
echo
echo "== In-process (offscreen) =="
QT_QPA_PLATFORM=offscreen "$build/bench/bench_inprocess" 2>&1 |
    grep -E '^(RESULT|QINFO)|msecs per iteration' | sed 's/^QINFO  : //'

echo
echo "== Idle for 10 s: wakeups (context switches, all threads) and CPU time =="
"$program" > /dev/null 2>&1 &
running=$!
window=$(xdotool search --sync --onlyvisible --name 'Ver1\.0' | head -n 1)
# The window takes the keyboard when it opens; give it to the root window, as when the user
# works in another program.
xdotool windowfocus --sync "$(xwininfo -root | awk '/Window id:/ { print $4 }')"
sleep 1
read -r wakeups cpu < <(bench/idle.sh "$running" 10)
echo "window not focused:             $wakeups wakeups, $cpu ms CPU"
xdotool windowfocus --sync "$window"
sleep 0.5
read -r wakeups cpu < <(bench/idle.sh "$running" 10)
echo "focus in the amount field:      $wakeups wakeups, $cpu ms CPU  (the text cursor blinks)"
xdotool key Tab Tab Tab
sleep 1
read -r wakeups cpu < <(bench/idle.sh "$running" 10)
echo "focus on a button:              $wakeups wakeups, $cpu ms CPU"
