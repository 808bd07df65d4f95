#!/usr/bin/env bash
# The desktop entry and the AppStream metadata pass the desktop's own validators.
#   desktop_files_test.sh DESKTOP_FILE METAINFO_FILE
set -uo pipefail
for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (make deps installs it)"
        exit 77
    fi
done
status=0
# Hints are advice; anything else desktop-file-validate says is a fault.
out="$(desktop-file-validate "$1" 2>&1)"
if [[ $? -ne 0 ]] || grep -v ': hint: ' <<<"$out" | grep -q .; then
    echo "$out"
    status=1
fi
appstreamcli validate --no-net "$2" || status=1
exit "$status"
