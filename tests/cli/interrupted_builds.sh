#!/usr/bin/env bash
# Builds that end before their time, by Ctrl-C, kill -9 or a full disk, and builds that meet
# another build in their folder, against the real executable:
#   interrupted_builds.sh VELLUMAR_CLI CASE DATA_FOLDER [FULL_DISK_LIBRARY]
set -euo pipefail

data=$3
full_disk=${4:-}
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

# Waits until the build's status lines (in err.txt, or the file given second) reach the given
# one.
wait_for_status() {
    for _ in $(seq 3000); do
        grep -qxF "$1" "${2:-err.txt}" 2>/dev/null && return 0
        sleep 0.01
    done
    fail "the build never reached '$1'"
}

# Prints every link of every page of the gallery that leads to no file, the candidates of
# srcset attributes included.
broken_links() {
    local page folder link
    for page in gallery/*.htm gallery/picpage/*.htm; do
        [ -e "$page" ] || continue
        folder=$(dirname "$page")
        {
            grep -oiE '(src|href|background)="?[^" >]*' "$page" | sed -E 's/^[^=]*="?//'
            # Index pages have none.
            grep -oiE 'srcset="[^"]*' "$page" | sed -E 's/^[^"]*"//' | tr ',' '\n' |
                awk '{ print $1 }' || true
        } | while IFS= read -r link; do
            link=${link%%[#?]*}
            case $link in '' | *:*) continue ;; esac
            [ -f "$folder/$link" ] || echo "$page: $link"
        done
    done
}

# Prints the first file listed in the given file that is missing or not whole: a picture that
# does not decode, a page cut short.
first_file_not_whole() {
    local file
    while IFS= read -r file; do
        [ -e "$file" ] || { echo "$file is gone" && return; }
        case $file in
        *.jpg) djpeg "$file" >/dev/null 2>&1 || { echo "$file does not decode" && return; } ;;
        *.htm) grep -q "</html>" "$file" || { echo "$file is cut short" && return; } ;;
        esac
    done <"$1"
}

# Fails unless the gallery is whole: either every file listed in old.txt (the gallery before
# the rebuild) or every file listed in new.txt (the rebuild's gallery, when the kill came while
# it cleared the leftovers or exited) is there and whole, and every link of every page leads to
# a file.
expect_whole_gallery() {
    local old_gallery broken
    old_gallery=$(first_file_not_whole old.txt)
    [ -z "$old_gallery" ] || [ -z "$(first_file_not_whole new.txt)" ] ||
        fail "$1: $old_gallery of the earlier gallery, and the rebuild's gallery is not whole"
    broken=$(broken_links)
    [ -z "$broken" ] || fail "$1: links lead nowhere: $broken"
}

# A gallery of all forty pictures, then a project of thirty of them with smaller thumbnails
# for the same folder: the rebuild writes every file again and leaves ten of each behind.
build_the_earlier_gallery() {
    "$cli" build album.vlm --program-folder "$data" --quiet >/dev/null 2>&1 ||
        fail "the first build failed"
    find gallery -type f | sort >old.txt
    mkdir fewer
    for i in $(seq 30); do cp "photos/p$i.jpg" fewer/; done
    "$cli" new -o fewer.vlm --program-folder "$data" --add-dir fewer \
        --set DestFolder="$work/gallery" --set ThumbWidth=80 --set ThumbHeight=60 \
        --set ResizePic=checked --set Overwrite=2 >/dev/null
    cp fewer.vlm rebuilt.vlm
    mkdir rebuilt
    "$cli" build rebuilt.vlm --program-folder "$data" --dest "$work/rebuilt/gallery" --yes \
        --quiet >/dev/null 2>&1 || fail "the build into an empty folder failed"
    (cd rebuilt && find gallery -type f | sort >../new.txt)
}

# What only the forty-picture gallery has, gone after a whole rebuild of thirty.
expect_leftovers_gone() {
    for file in gallery/thumb/tn_31.jpg gallery/pic/pic40.jpg gallery/picpage/page35.htm; do
        [ ! -e "$file" ] || fail "$file of the earlier gallery is still there"
    done
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
            grep -q "</html>" "$page" || fail "round $round: $page is cut short"
        done
    done
    "$cli" build album.vlm --program-folder "$data" --quiet >/dev/null 2>&1 ||
        fail "the build after the kills failed"
    no_temporary_files
    ;;
kill_during_always_overwrite_leaves_a_whole_gallery)
    build_the_earlier_gallery
    for round in $(seq 12); do
        "$cli" build fewer.vlm --program-folder "$data" --quiet --no-reuse >/dev/null 2>&1 &
        build=$!
        sleep "0.$((RANDOM % 90 + 5))"
        kill -9 "$build" 2>/dev/null || true
        status=0
        wait "$build" 2>/dev/null || status=$?
        expect_whole_gallery "round $round"
        # A rebuild that got to its end before the kill is the gallery from then on.
        [ "$status" -ne 0 ] || find gallery -type f | sort >old.txt
    done
    "$cli" build fewer.vlm --program-folder "$data" --quiet >/dev/null 2>&1 ||
        fail "the build after the kills failed"
    expect_leftovers_gone
    [ -z "$(broken_links)" ] || fail "the finished gallery has broken links"
    no_temporary_files
    ;;
full_disk_during_always_overwrite_leaves_a_whole_gallery)
    [ -n "$full_disk" ] || fail "no full-disk library given"
    build_the_earlier_gallery
    # What the rebuild writes into the gallery, as the build into an empty folder shows, and how
    # much of that is pages and style files, which come last.
    bytes_in() { find "$@" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }'; }
    thumbnails=$(bytes_in rebuilt/gallery/thumb)
    pictures=$(bytes_in rebuilt/gallery/thumb rebuilt/gallery/pic)
    total=$(bytes_in rebuilt/gallery)
    # The disk fills up among the thumbnails, among the large pictures, and among the pages.
    full_folder="$(realpath gallery)/"
    for room in $((thumbnails / 2)) $(((thumbnails + pictures) / 2)) $(((pictures + total) / 2)); do
        status=0
        LD_PRELOAD="$full_disk" VELLUMAR_TEST_DISK_FOLDER="$full_folder" \
            VELLUMAR_TEST_DISK_BYTES="$room" ASAN_OPTIONS=verify_asan_link_order=0 \
            "$cli" build fewer.vlm --program-folder "$data" --quiet --no-reuse \
            >out.txt 2>err.txt </dev/null || status=$?
        [ "$status" -eq 1 ] || fail "the build with room for $room bytes exited with $status"
        grep -qF "No space left on device" err.txt ||
            fail "the full disk was not told: $(cat err.txt)"
        expect_whole_gallery "room for $room bytes"
        no_temporary_files
    done
    "$cli" build fewer.vlm --program-folder "$data" --quiet >/dev/null 2>&1 ||
        fail "the build with room enough failed"
    expect_leftovers_gone
    [ -z "$(broken_links)" ] || fail "the finished gallery has broken links"
    ;;
two_homes_build_into_one_folder_one_at_a_time)
    mkdir home1 home2
    env -u XDG_CACHE_HOME HOME="$work/home1" "$cli" build album.vlm --program-folder "$data" \
        --jobs 1 >out1.txt 2>err1.txt &
    build=$!
    wait_for_status "Generating thumbnail file 2" err1.txt
    status=0
    env -u XDG_CACHE_HOME HOME="$work/home2" "$cli" build album.vlm --program-folder "$data" \
        >out.txt 2>err.txt </dev/null || status=$?
    [ "$status" -eq 1 ] || fail "the second build exited with $status"
    grep -qF "Cannot build into $work/gallery/: the build of " err.txt &&
        grep -qF "(process $build) is writing into it. Wait until it ends, or stop it." err.txt ||
        fail "the second build was not refused: $(cat err.txt)"
    [ -e gallery/.vellumar-build.lock ] || fail "no lock file in the gallery"
    kill -INT "$build"
    wait "$build" || true
    [ ! -e gallery/.vellumar-build.lock ] || fail "the lock file stayed after the build"
    env -u XDG_CACHE_HOME HOME="$work/home2" "$cli" build album.vlm --program-folder "$data" \
        --quiet >/dev/null 2>&1 || fail "the build after the first one ended failed"
    [ ! -e gallery/.vellumar-build.lock ] || fail "the lock file stayed after the build"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
