#!/usr/bin/env bash
# The command-line manners of each program, without a display: --version prints the
# program's name and the build's version, --help its usage, both with exit status 0; and
# the man page names every option and variable the help names, and no other.
#   command_line_test.sh BIN_DIR MAN_DIR VERSION PROGRAM...
set -uo pipefail
bin="$1" man="$2" version="$3"
shift 3
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The names a text gives: options (--name) and the finder's variables (FINDER_NAME).
names() {
    grep -oE -- '--[a-z][a-z-]*[a-z]|FINDER_[A-Z_]+' | sort -u
}

for program in "$@"; do
    # No display at all: the window's program must answer before Qt looks for one.
    run=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$bin/$program")
    out="$("${run[@]}" --version 2>&1)" || fail "$program --version: exit status $?"
    [[ "$out" == "$program $version" ]] || fail "$program --version printed '$out'"
    help="$("${run[@]}" --help 2>&1)" || fail "$program --help: exit status $?"
    [[ "$help" == "Usage: $program "* ]] || fail "$program --help does not start with its usage"

    page="$man/$program.1"
    grep -q "^\.TH .*\"finder $version\"" "$page" || fail "$page does not name version $version"
    # Roff writes a dash as \-; the page's names then read as the help's.
    page_names="$(sed 's/\\-/-/g' "$page" | names)"
    help_names="$(names <<<"$help")"
    missing="$(comm -23 <(echo "$help_names") <(echo "$page_names"))"
    extra="$(comm -13 <(echo "$help_names") <(echo "$page_names"))"
    [[ -z "$missing" ]] || fail "$page lacks what --help names: $(echo $missing)"
    [[ -z "$extra" ]] || fail "$page names what --help does not: $(echo $extra)"
    if command -v groff >/dev/null; then
        warnings="$(groff -man -Tutf8 -ww -z "$page" 2>&1)"
        [[ -z "$warnings" ]] || fail "$page: $warnings"
    fi
done
if ((failures > 0)); then
    exit 1
fi
echo "$# programs: --help, --version and man pages in step"
