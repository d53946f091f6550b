#!/usr/bin/env bash
# Builds that end before their time, by Ctrl-C or by kill -9, against the real executable:
#   interrupted_builds.sh VELLUMAR_CLI CASE DATA_FOLDER
set -euo pipefail

data=$3
source "$(dirname "$0")/cli_test_lib.sh"

# Forty distinct photographs, large enough that a build takes a few seconds.
mkdir photos
convert -size 1600x1200 plasma:fractal -seed 7 photos/base.jpg
for i in $(seq 40); do
    convert photos/base.jpg -roll "+$((i * 37))+$((i * 11))" -quality 85 "photos/p$i.jpg"
done
rm photos/base.jpg
# Large pictures at their own size are the slowest build, which leaves time to stop it.
resize=checked
[ "$case_name" != ctrl_c_stops_between_pictures ] || resize="not checked"
"$cli" new -o album.vlm --program-folder "$data" --add-dir photos --set DestFolder="$work/gallery" \
    --set ResizePic="$resize" --set Overwrite=2 >/dev/null
mkdir gallery

no_temporary_files() {
    local found
    found=$(find gallery -name '*.tmp')
    [ -z "$found" ] || fail "temporary files left: $found"
}

# Waits until the build's status lines reach the given one.
wait_for_status() {
    for _ in $(seq 3000); do
        grep -qxF "$1" err.txt 2>/dev/null && return 0
        sleep 0.01
    done
    fail "the build never reached '$1'"
}

case $case_name in
ctrl_c_stops_between_pictures)
    "$cli" build album.vlm --program-folder "$data" --jobs 2 >out.txt 2>err.txt &
    build=$!
    wait_for_status "Generating thumbnail file 5"
    kill -INT "$build"
    status=0
    wait "$build" || status=$?
    [ "$status" -eq 130 ] || fail "stopped build exited with $status"
    grep -qxF "Build stopped" err.txt || fail "the stop was not told"
    [ -f gallery/thumb/tn_4.jpg ] || fail "a thumbnail written before the stop is gone"
    [ ! -e gallery/index.htm ] || fail "pages were written after the stop"
    no_temporary_files
    ;;
kill_leaves_only_whole_files)
    for round in $(seq 20); do
        "$cli" build album.vlm --program-folder "$data" --quiet >/dev/null 2>&1 &
        build=$!
        sleep "0.$((RANDOM % 90 + 5))"
        kill -9 "$build" 2>/dev/null || true
        wait "$build" 2>/dev/null || true
        for picture in gallery/thumb/*.jpg gallery/pic/*.jpg; do
            [ -e "$picture" ] || continue
            djpeg "$picture" >/dev/null 2>&1 || fail "round $round: $picture does not decode"
        done
        for page in gallery/*.htm gallery/picpage/*.htm; do
            [ -e "$page" ] || continue
            tail -c 9 "$page" | grep -q "</html>" || fail "round $round: $page is cut short"
        done
    done
    "$cli" build album.vlm --program-folder "$data" --quiet >/dev/null 2>&1 ||
        fail "the build after the kills failed"
    no_temporary_files
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
