#!/usr/bin/env bash
# Runs one case of the gallery commands against the real executable, with the bundled styles
# and sample pictures:  gallery_commands.sh VELLUMAR_CLI CASE DATA_FOLDER
set -euo pipefail

data=$3
source "$(dirname "$0")/cli_test_lib.sh"

cp -r "$data" program
rm -rf program/preview
"$cli" new -o album.vlm --program-folder program --add-dir program/samples \
    --set ThumbTableCol=3 --set ThumbTableRow=2 >/dev/null

case $case_name in
build_makes_a_whole_gallery)
    expect_status 0 "$cli" build album.vlm --program-folder program --dest gallery --yes
    grep -qxF "Destination folder gallery does not exist. Create it anyway ? Yes" err.txt ||
        fail "the question and its answer were not shown"
    grep -qxF "Finished" err.txt || fail "no status lines on a non-terminal"
    count=$(ls program/samples | wc -l)
    [ -f gallery/index.htm ] && [ -f "gallery/picpage/page$count.htm" ] &&
        [ -f "gallery/thumb/tn_$count.jpg" ] && [ -f "gallery/pic/pic$count.jpg" ] ||
        fail "the gallery is incomplete"
    grep -q "oncontextmenu\|contextmenu" gallery/index.htm || fail "thumbnails are not protected"
    expect_status 0 "$cli" build album.vlm --program-folder program --dest gallery --quiet \
        --image-protect off --thumb-protect off --yes
    [ ! -s err.txt ] || fail "--quiet printed more than errors and warnings: $(head -3 err.txt)"
    ! grep -q "contextmenu" gallery/index.htm || fail "protection was not turned off"
    ;;
build_talks_as_its_output_allows)
    count=$(ls program/samples | wc -l)
    # Not a terminal: the status lines and answered questions, then the summary.
    expect_status 0 "$cli" build album.vlm --program-folder program --dest gallery --yes
    grep -qxF "Generating thumbnail file $count" err.txt || fail "no status lines on a pipe"
    grep -qE "^$count pictures \($count made, 0 reused\) in [0-9.]+ s; the gallery in gallery takes [0-9.]+ [kM]B$" \
        err.txt || fail "no summary: $(tail -1 err.txt)"
    # A terminal: one line that rewrites itself, no answered questions, the summary.
    script -qec "'$cli' build album.vlm --program-folder program --dest gallery --yes" \
        /dev/null </dev/null >tty.txt
    ! grep -q "Overwrite existing file" tty.txt || fail "answered questions on a terminal"
    [ "$(tr -cd '\n' <tty.txt | wc -c)" -le 1 ] || fail "more than one line on a terminal"
    grep -q $'\r\e\[K\[' tty.txt || fail "no progress line on a terminal"
    grep -qE "$count pictures \(0 made, $count reused\)" tty.txt ||
        fail "no summary on a terminal"
    # --verbose keeps every line, also on a terminal.
    script -qec "'$cli' build album.vlm --program-folder program --dest gallery --yes --verbose" \
        /dev/null </dev/null >tty.txt
    grep -q "^Generating large picture $count" tty.txt || fail "--verbose left out status lines"
    grep -q "^Overwrite existing file: gallery/index.htm Yes" tty.txt ||
        fail "--verbose left out the answered questions"
    expect_status 2 "$cli" build album.vlm --quiet --verbose
    ;;
build_of_a_project_with_missing_pictures_needs_keep_going)
    cp -r program/samples photos
    "$cli" new -o photos.vlm --program-folder program --add-dir photos >/dev/null
    gone=$(ls photos | head -1)
    rm "photos/$gone"
    expect_status 1 "$cli" build photos.vlm --program-folder program --dest gallery --yes
    grep -qF "File $work/photos/$gone not found and skipped." err.txt || fail "no skip message"
    grep -qF "The build was not started" err.txt || fail "no refusal"
    [ ! -e gallery ] || fail "something was written"
    expect_status 0 "$cli" build photos.vlm --program-folder program --dest gallery --yes \
        --keep-going
    [ -f gallery/index.htm ] || fail "--keep-going built nothing"
    ;;
build_refused_without_an_answer)
    expect_status 1 "$cli" build album.vlm --program-folder program --dest nowhere
    grep -qxF "Destination folder nowhere does not exist. Create it anyway ? No" err.txt ||
        fail "the question was not answered No"
    grep -qxF "Destination folder nowhere does not exist. Terminated!" err.txt ||
        fail "the refusal was not shown"
    [ ! -e nowhere ] || fail "the folder was created"
    expect_status 2 "$cli" build album.vlm --yes --no
    expect_status 2 "$cli" build album.vlm --thumb-protect maybe
    ;;
always_overwrite_keeps_what_the_gallery_did_not_write)
    cp -r program/samples photos
    for file in notes.txt other.vlm .hidden IMG_0001.CR2; do echo "$file" >"photos/$file"; done
    "$cli" new -o photos/album.vlm --program-folder program \
        --add "photos/$(ls program/samples | head -1)" --set Overwrite=2 >/dev/null
    before=$(cd photos && ls -A | sort)
    expect_status 0 "$cli" build photos/album.vlm --program-folder program --dest photos
    for file in notes.txt other.vlm .hidden IMG_0001.CR2; do
        [ "$(cat "photos/$file")" = "$file" ] || fail "$file was not kept"
    done
    [ -f photos/index.htm ] && [ -f photos/thumb/tn_1.jpg ] || fail "no gallery was built"
    after=$(cd photos && ls -A | sort)
    [ -z "$(comm -23 <(echo "$before") <(echo "$after"))" ] || fail "files of the user went"

    mkdir elsewhere && echo mine >elsewhere/pic1.jpg
    rm -r photos/pic && ln -s "$work/elsewhere" photos/pic
    expect_status 1 "$cli" build photos/album.vlm --program-folder program --dest photos
    grep -qxF "The gallery folder photos/pic is a link; choose the folder itself." err.txt ||
        fail "the linked folder was not refused"
    [ "$(cat elsewhere/pic1.jpg)" = mine ] || fail "the linked folder was written"

    "$cli" new -o escape.vlm --program-folder program --add-dir program/samples \
        --set IdxFileName=../outside_index.htm >/dev/null
    mkdir -p site/gallery
    expect_status 1 "$cli" build escape.vlm --program-folder program --dest site/gallery
    grep -qxF "The setting IdxFileName must be a plain file name, not ../outside_index.htm." \
        err.txt || fail "the index page name was not refused"
    [ -z "$(ls -A site/gallery)" ] && [ ! -e site/outside_index.htm ] || fail "files were written"
    ;;
a_second_build_gives_the_same_gallery)
    "$cli" build album.vlm --program-folder program --dest gallery --yes --quiet 2>/dev/null
    cp -r gallery first
    expect_status 0 "$cli" build album.vlm --program-folder program --dest gallery --yes --quiet
    diff -r first gallery >&2 || fail "a rebuild changed the gallery"
    expect_status 0 "$cli" build album.vlm --program-folder program --dest gallery --yes \
        --quiet --no-reuse
    diff -r first gallery >/dev/null || fail "a build without reuse gave another gallery"
    ;;
preview_prints_its_index_page)
    expect_status 0 "$cli" preview album.vlm --program-folder program
    [ "$(cat out.txt)" = "$work/program/preview/index.htm" ] || fail "printed $(cat out.txt)"
    [ -f program/preview/picpage/page6.htm ] && [ ! -e program/preview/picpage/page7.htm ] ||
        fail "the preview does not hold exactly one index page of pictures"
    ;;
build_refuses_bad_job_counts)
    for jobs in 0 -1 abc 100000 2x ""; do
        expect_status 2 "$cli" build album.vlm --program-folder program --dest gallery --yes \
            --jobs "$jobs"
        grep -qF "option '--jobs' takes a number of workers from 1 to 256" err.txt ||
            fail "--jobs '$jobs' was not refused with its reason"
    done
    [ ! -e gallery ] || fail "a refused build wrote the gallery"
    expect_status 0 "$cli" build album.vlm --program-folder program --dest gallery --yes \
        --quiet --jobs 3
    [ -f gallery/index.htm ] || fail "a build with three workers made no gallery"
    ;;
build_refuses_pictures_beyond_the_memory_limit)
    for limit in 0 -5 abc 1000001 2G ""; do
        expect_status 2 "$cli" build album.vlm --program-folder program --dest gallery --yes \
            --memory-limit "$limit"
        grep -qF "option '--memory-limit' takes a number of megabytes from 1 to 1000000" \
            err.txt || fail "--memory-limit '$limit' was not refused with its reason"
    done
    # A PNG header declaring 2000 x 2000 pixels and nothing after it: refused from its size
    # alone, before anything is decoded. Its 12 MB of pixels, the file's 29 bytes held while
    # it decodes and the coefficients the encode of its 600 x 400 large picture buffers make
    # 13 MB, rounded up.
    printf '\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x07\xd0\0\0\x07\xd0\x08\x02\0\0\0' >big.png
    "$cli" new -o big.vlm --program-folder program --add big.png >/dev/null
    expect_status 1 "$cli" build big.vlm --program-folder program --dest big --yes --quiet \
        --memory-limit 10
    grep -qxF "Picture too large to load in memory: $work/big.png (2000 x 2000 pixels needs 13 MB; the limit is 10 MB)" \
        err.txt || fail "the refusal does not name the picture and the memory it needs"
    expect_status 0 "$cli" build album.vlm --program-folder program --dest gallery --yes \
        --quiet --memory-limit 100
    [ -f gallery/index.htm ] || fail "small pictures were refused under a limit they fit"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
