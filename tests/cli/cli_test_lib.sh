# Sourced first by the command-line test scripts, which are called as
#   SCRIPT VELLUMAR_CLI CASE [ARGUMENT]
# Sets $cli and $case_name from the first two arguments and moves into a scratch folder of
# the case's own, removed however the case ends.

cli=$1
case_name=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs the command and checks its exit status; its output is in out.txt and err.txt. It gets
# no input, as in a script, so its questions are answered as when nobody can be asked.
expect_status() {
    local expected=$1
    shift
    local status=0
    "$@" >out.txt 2>err.txt </dev/null || status=$?
    [ "$status" -eq "$expected" ] || {
        cat err.txt >&2
        fail "'$*' exited with $status, expected $expected"
    }
}
