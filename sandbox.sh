#!/usr/bin/env bash
# Watches the plug-ins work without the game: plays scripted scenarios frame by frame with
# the built dist/iii_kelvora.asi and dist/gps.asi inside the simulated host (under Wine) and
# writes a picture, a patch map and a summary per scenario into out/sandbox/<scenario>/.
set -euo pipefail
invoked_from=$(pwd)
cd "$(dirname "$0")"
root=$(pwd)
scenario_dir=tools/sandbox/scenarios

usage() {
    cat <<'EOF'
usage: ./sandbox.sh [--out DIR] [--list] [--help] [SCENARIO...]

Runs each SCENARIO (a scenario file, or the name of one in tools/sandbox/scenarios/) in the
simulated host with the built plug-ins; with no SCENARIO runs every shipped one. For each it
writes into DIR/<scenario>/ (DIR defaults to out/sandbox):
  picture.svg   what happened, at a glance (picture.png beside it when rsvg-convert is
                installed): for the cameras a top-down view of pivot, camera path, look
                direction, walls and line-of-sight cuts with plots of pitch, heading and
                field of view; for the route guide the radar with the route band, the mask
                and the destination marker as the plug-in drew them, beside a road map
  patches.txt   every host address each plug-in wrote at start-up, old and new bytes, and
                what the new instruction calls (plug-in offset and routine name)
  summary.txt   frames run, calls made to each host routine, the final camera state
  frames.tsv    one row per frame: camera, pivot, angles, inputs, route drawing

Builds what it needs first (in build/win, as ./test.sh does; quick when nothing changed).
Exit status: 0 all ran, 1 a scenario was malformed or failed, 2 usage.

Options:
  --out DIR   write the outputs under DIR
  --list      list the shipped scenarios with their titles
  --help      this text and the scenario commands

EOF
    cat tools/sandbox/commands.txt
}

list_scenarios() {
    local file title
    for file in "$scenario_dir"/*.scn; do
        title=$(sed -n 's/^title[[:space:]]*//p' "$file" | head -n 1)
        printf '  %-22s %s\n' "$(basename "$file" .scn)" "$title"
    done
}

# A path the sandbox (a Windows program under Wine) can open: relative to the project when
# inside it (Wine starts in the same folder), else absolute on Wine's drive Z:.
windows_path() {
    local path=$1
    case "$path" in
        "$root"/*) echo "${path#"$root"/}" ;;
        *) echo "Z:$path" ;;
    esac
}

out_dir=$root/out/sandbox
scenarios=()
while [ $# -gt 0 ]; do
    case "$1" in
        -h|--help) usage; exit 0 ;;
        --list) list_scenarios; exit 0 ;;
        --out)
            [ $# -ge 2 ] || { echo "sandbox: --out needs a folder" >&2; exit 2; }
            case "$2" in /*) out_dir=$2 ;; *) out_dir=$invoked_from/$2 ;; esac
            shift 2 ;;
        -*) echo "sandbox: unknown option $1 (see ./sandbox.sh --help)" >&2; exit 2 ;;
        *)
            arg=$1
            case "$arg" in /*) candidate=$arg ;; *) candidate=$invoked_from/$arg ;; esac
            if [ -f "$candidate" ]; then
                scenarios+=("$(realpath "$candidate")")
            elif [ -f "$scenario_dir/$arg.scn" ]; then
                scenarios+=("$root/$scenario_dir/$arg.scn")
            else
                echo "sandbox: no scenario '$arg': not a file, and not a name in $scenario_dir/" >&2
                echo "shipped scenarios:" >&2
                list_scenarios >&2
                exit 2
            fi
            shift ;;
    esac
done
if [ ${#scenarios[@]} -eq 0 ]; then
    for file in "$scenario_dir"/*.scn; do scenarios+=("$root/$file"); done
fi
mkdir -p "$out_dir"
out_dir=$(realpath "$out_dir")

source tools/ensure_packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

build_log=$(mktemp)
trap 'rm -f "$build_log"' EXIT
# Configured every time (quick): a build folder from before the sandbox existed lacks its target.
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release >"$build_log" 2>&1 || { cat "$build_log"; exit 1; }
echo "Building the plug-ins and the sandbox ..."
if ! cmake --build build/win --target sandbox -j 2 >"$build_log" 2>&1; then
    grep -E 'error|Error' "$build_log" | head -n 40 || tail -n 40 "$build_log"
    echo "sandbox: the build failed" >&2
    exit 1
fi

export WINEPREFIX="$root/build/win/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix (once) ..."
    wineboot --init >"$root/build/win/wineboot.log" 2>&1 || true
    wineserver -w
fi
trap 'rm -f "$build_log"; wineserver -k >/dev/null 2>&1 || true' EXIT

args=(--out "$(windows_path "$out_dir")")
for file in "${scenarios[@]}"; do args+=("$(windows_path "$file")"); done

# The program's output goes to a file that is shown as it grows: Wine's background
# processes inherit the output handles and would keep a pipe open after the program ends.
run_log=$(mktemp)
started=$(mktemp)  # pictures newer than this one were drawn by this run
trap 'rm -f "$build_log" "$run_log" "$started"; wineserver -k >/dev/null 2>&1 || true' EXIT
wine build/win/tests/simhost.exe build/win/tools/sandbox/libsandbox.dll "${args[@]}" \
    >"$run_log" 2>&1 </dev/null &
wine_pid=$!
tail -n +1 -f --pid="$wine_pid" "$run_log" &
tail_pid=$!
status=0
wait "$wine_pid" || status=$?
wait "$tail_pid" 2>/dev/null || true

if command -v rsvg-convert >/dev/null 2>&1; then
    for file in "${scenarios[@]}"; do
        picture=$out_dir/$(basename "$file" .scn)/picture.svg
        if [ -f "$picture" ] && [ "$picture" -nt "$started" ]; then
            rsvg-convert -o "${picture%.svg}.png" "$picture" || true
        fi
    done
fi
exit "$status"
