#!/usr/bin/env bash
# Runs one case of the project commands against the real executable:
#   project_commands.sh VELLUMAR_CLI CASE [JPEG_PICTURE]
set -euo pipefail

jpeg=${3:-}
source "$(dirname "$0")/cli_test_lib.sh"

expect_line() {
    grep -qxF -- "$1"$'\r' "$2" || fail "no line '$1' in $2"
}

# Two styles; the first by name sets the table border.
mkdir -p program/template
printf '<html>\r\n<%%default begin%%>\r\n<%%table border=3%%>\r\n<%%default end%%>\r\n' \
    >program/template/Alpha.htm
printf '<html>\r\n<%%default begin%%>\r\n<%%table border=7%%>\r\n<%%default end%%>\r\n' \
    >program/template/beta.htm

case $case_name in
new_applies_first_style_and_settings)
    expect_status 0 "$cli" new -o p.vlm --program-folder program \
        --set PageTitle="Summer trip" --set thumbborder=checked --set ThumbBorderColor=255 \
        --set SmoothScaling="not checked" --set AutoRotate="not checked" --set WideGamut=checked
    expect_line "name=p.vlm" p.vlm
    expect_line "imgcount=0" p.vlm
    expect_line "Style=Alpha" p.vlm
    expect_line "ThumbTableBorderWidth=3" p.vlm
    expect_line "PageTitle=Summer trip" p.vlm
    expect_line "ThumbBorder=checked" p.vlm
    expect_line "ThumbBorderColor=255" p.vlm
    expect_line "SmoothScaling=not checked" p.vlm
    expect_line "AutoRotate=not checked" p.vlm
    expect_line "WideGamut=checked" p.vlm
    ;;
new_with_named_style)
    expect_status 0 "$cli" new -o p.vlm --program-folder program --style beta
    expect_line "Style=beta" p.vlm
    expect_line "ThumbTableBorderWidth=7" p.vlm
    expect_line "SmoothScaling=checked" p.vlm
    expect_line "AutoRotate=checked" p.vlm
    expect_line "WideGamut=not checked" p.vlm
    expect_status 2 "$cli" new -o q.vlm --program-folder program --style gamma
    [ ! -e q.vlm ] || fail "a project was written for an unknown style"
    ;;
new_refuses_unknown_keys_and_bad_numbers)
    expect_status 2 "$cli" new -o p.vlm --program-folder program --set NoSuchKey=1
    grep -q "no setting 'NoSuchKey'" err.txt || fail "unknown key not named"
    expect_status 2 "$cli" new -o p.vlm --program-folder program --set TopOffset=abc
    grep -q "'abc' is not a valid integer value" err.txt || fail "bad number not reported"
    expect_status 2 "$cli" new --program-folder program
    [ ! -e p.vlm ] || fail "a project was written after a usage error"
    ;;
new_fails_on_missing_pictures)
    # The project holds what could be added; the status says that something could not.
    expect_status 1 "$cli" new -o p.vlm --program-folder program --add missing.jpg
    grep -q "missing.jpg" err.txt || fail "missing picture not named"
    expect_line "imgcount=0" p.vlm
    expect_status 1 "$cli" new -o q.vlm --program-folder program --add-dir nowhere
    [ ! -e q.vlm ] || fail "a project was written for a folder that is not there"
    ;;
new_stores_full_paths_and_keeps_existing_files)
    mkdir pics && cp "$jpeg" pics/a.jpg
    expect_status 0 "$cli" new -o p.vlm --program-folder program --add-dir pics
    expect_line "file=$work/pics/a.jpg" p.vlm
    cp p.vlm before.vlm
    expect_status 1 "$cli" new -o p.vlm --program-folder program
    grep -qxF "p.vlm already exists; --force replaces it." err.txt || fail "no refusal"
    cmp -s p.vlm before.vlm || fail "an existing project was replaced"
    expect_status 0 "$cli" new -o p.vlm --program-folder program --force
    expect_line "imgcount=0" p.vlm
    # A link is saved through, so the real project changes and the link stays.
    mkdir real && mv p.vlm real/p.vlm && ln -s real/p.vlm p.vlm
    expect_status 0 "$cli" new -o p.vlm --program-folder program --force --add-dir pics
    [ -L p.vlm ] || fail "the link was replaced"
    expect_line "imgcount=1" real/p.vlm
    ;;
new_names_what_it_could_not_add)
    mkdir -p walk/sub
    cp "$jpeg" walk/1.jpg && : >walk/2.jpg && cp "$jpeg" walk/3.jpg && cp "$jpeg" walk/sub/4.jpg
    mkfifo walk/pipe.jpg
    timeout 20 "$cli" new -o p.vlm --program-folder program --add-tree walk --add walk/pipe.jpg \
        >out.txt 2>err.txt </dev/null && fail "skipped files gave status 0" || true
    expect_line "imgcount=3" p.vlm
    grep -qxF "These 2 pictures cannot be read:" err.txt || fail "no list of unreadable files"
    grep -q "walk/2.jpg" err.txt && grep -q "walk/pipe.jpg: not a regular file" err.txt ||
        fail "files not named"
    timeout 20 "$cli" info walk/pipe.jpg >out.txt 2>err.txt </dev/null && fail "pipe read" || true
    grep -qF "walk/pipe.jpg: not a regular file" err.txt || fail "the pipe was not refused"
    ;;
new_adds_pictures_in_the_order_given)
    mkdir -p folder/sub
    cp "$jpeg" one.jpg
    cp "$jpeg" folder/two.JPG
    cp "$jpeg" folder/sub/three.jpeg
    printf 'not a picture' >folder/notes.txt
    expect_status 0 "$cli" new -o p.vlm --program-folder program --add-tree folder \
        --add " $work/one.jpg " --add-dir folder
    expect_line "imgcount=4" p.vlm
    expect_status 0 "$cli" show p.vlm --program-folder program
    [ "$(grep -c '^title=' out.txt)" -eq 4 ] || fail "not four pictures"
    grep '^title=' out.txt | tr -d '\r' | tr '\n' ' ' >titles.txt
    [ "$(cat titles.txt)" = "title=two.JPG title=three.jpeg title=one.jpg title=two.JPG " ] ||
        fail "pictures in the wrong order: $(cat titles.txt)"
    expect_line "file=$work/one.jpg" out.txt
    printf 'garbage' >bad.jpg
    expect_status 1 "$cli" new -o q.vlm --program-folder program --add bad.jpg --add one.jpg
    grep -qxF "Cannot read picture $work/bad.jpg: not a JPEG file" err.txt ||
        fail "unreadable picture not reported"
    expect_line "imgcount=1" q.vlm
    ;;
new_takes_titles_from_metadata)
    # The third argument is a photo with a title and a description of its own; beside it lies
    # a picture that carries neither.
    cp "$jpeg" photo.jpg
    cp "$(dirname "$jpeg")/orientation-1.png" plain.png
    printf 'Told beside it\n' >plain.txt
    expect_status 0 "$cli" new -o p.vlm --program-folder program --add photo.jpg --add plain.png \
        --titles-from-metadata
    expect_line "title=Sunset at the pier" p.vlm
    expect_line "info=Gulls & <waves>" p.vlm
    expect_line "title=plain.png" p.vlm
    expect_line "info=Told beside it" p.vlm
    ;;
show_prints_the_saved_project)
    expect_status 0 "$cli" new -o p.vlm --program-folder program --set IdxNavLink=2
    expect_status 0 "$cli" show p.vlm --program-folder program
    cmp -s out.txt p.vlm || fail "show differs from the saved file"
    ;;
show_skips_missing_pictures)
    printf 'x' >here.jpg
    {
        printf '[project]\r\nimgcount=2\r\n[Setting]\r\nOverwrite=0\r\nIdxNavLink=0\r\n'
        printf 'ThumbBorder=not checked\r\nResizePic=not checked\r\nIdxPageBGColor=no color\r\n'
        printf 'ThumbTableBorderColor=0\r\nThumbTableBGColor=no color\r\nThumbLink=0\r\n'
        printf 'PageNav=0\r\nPageBGColor=no color\r\nStyle=beta\r\n'
        printf '[Image1]\r\nfile=%s/gone.jpg\r\ntitle=Gone\r\ncrop=0\r\nrotate=0\r\n' "$work"
        printf '[Image2]\r\nfile=%s/here.jpg\r\ntitle="Here"\r\ncrop=2\r\nrotate=1\r\n' "$work"
    } >old.vlm
    expect_status 0 "$cli" show old.vlm --program-folder program
    grep -qxF "File $work/gone.jpg not found and skipped." err.txt || fail "no skip message"
    expect_line "imgcount=1" out.txt
    expect_line "file=$work/here.jpg" out.txt
    expect_line "title=Here" out.txt
    expect_line "crop=2" out.txt
    expect_line "Style=beta" out.txt
    # A text key the file lacks is read as empty.
    expect_line "ThumbTableBorderWidth=" out.txt
    ;;
show_reports_a_failed_load)
    printf '[project]\r\nimgcount=many\r\n' >bad.vlm
    expect_status 1 "$cli" show bad.vlm --program-folder program
    grep -qxF "Load project bad.vlm fail!" err.txt || fail "no failure message"
    grep -qxF "[project] imgcount (line 2): 'many' is not a valid integer value" err.txt ||
        fail "the reason was not given"
    mkfifo pipe.vlm
    timeout 20 "$cli" show pipe.vlm --program-folder program >out.txt 2>err.txt </dev/null &&
        fail "a pipe was read as a project" || true
    grep -qxF "Cannot read file pipe.vlm: not a regular file" err.txt || fail "pipe not refused"
    [ ! -s out.txt ] || fail "output after a failed load"
    expect_status 1 "$cli" show absent.vlm --program-folder program
    head -c 102400 /dev/zero >zeros.vlm
    expect_status 1 "$cli" show zeros.vlm --program-folder program
    grep -qF "is not a project file" err.txt || fail "a file of zeros was not called no project"
    printf '[project]\r\nimgcount=0\r\n[Setting]\r\nPageTitle=My\0 trip\r\n' >nul.vlm
    expect_status 1 "$cli" show nul.vlm --program-folder program
    grep -qxF "Line 4 holds a NUL byte, which a project file never holds." err.txt ||
        fail "a NUL byte was not refused with its line"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
