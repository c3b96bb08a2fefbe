#!/bin/sh
# Runs every read-only command of two builds of `velqora` on the sample day and the heavy day and compares
# their outputs byte for byte: a change meant to keep behaviour (a rename, a restructuring) must leave every
# output as it was.
#   tools/compare-outputs.sh OLD/velqora NEW/velqora SAMPLEFOLDER-TOOL
# SAMPLEFOLDER-TOOL is a `vq-sample-folder`; both days are written once into a temporary folder.
set -eu
old="$1" new="$2" sample="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sample" "$work/day" >/dev/null
"$sample" --heavy "$work/heavy" >/dev/null
status=0
for folder in "$work/day" "$work/heavy"; do
    for command in "summary" "summary --json" "profit" "profit --json" "log" "log --json" "book" "book --json" \
        "book --csv" "race 1 1" "race --json 1 1" "race --json 1 9" "race --json 2 3" "race --json 3 4"; do
        set -- $command
        name=$1
        shift
        case "$name" in
            race) options=""; [ "${1:-}" = "--json" ] && { options="--json"; shift; }
                  args="$options $folder/ $*" ;;
            *) args="$* $folder/" ;;
        esac
        "$old" $name $args >"$work/old" 2>&1 || true
        "$new" $name $args >"$work/new" 2>&1 || true
        if ! cmp -s "$work/old" "$work/new"; then
            echo "differs: velqora $name $args"
            status=1
        fi
    done
done
[ "$status" -eq 0 ] && echo "every output identical"
exit "$status"
