#!/usr/bin/env bash
# Runs every fuzz harness of a fuzz build for a number of seconds each, PARALLEL at a time, starting from
# the seed corpora (written fresh from the sample day) and the corpus of earlier runs. The cores are shared
# out: each harness runs as cores/PARALLEL workers on one corpus, so no core idles. Prints one line per
# harness (runs of all its workers, runs per second, corpus size) and fails when any harness found
# something: its input is kept in BUILD/fuzz-findings/.
#     scripts/fuzz-run.sh BUILD SECONDS [PARALLEL]
set -uo pipefail
build="$1"
seconds="$2"
parallel="${3:-1}"
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$build/bin"
workers=$(( $(nproc) / parallel ))
[ "$workers" -ge 1 ] || workers=1

# The readers allocate a lot per input: no fill of fresh allocations (ASan finds no uninitialised reads
# either way), a smaller quarantine and no allocation stacks make the runs about twice as fast. A finding
# replays with the full reports: build-sanitize/bin/fuzz_NAME FILE.
export ASAN_OPTIONS="${ASAN_OPTIONS:-max_malloc_fill_size=0:quarantine_size_mb=16:malloc_context_size=0}"

rm -rf "$build/fuzz-seeds"
"$bin/vq-fuzz-seeds" "$build/fuzz-seeds" || exit 1
rm -rf "$build/fuzz-logs"
mkdir -p "$build/fuzz-corpus" "$build/fuzz-findings" "$build/fuzz-logs"

harnesses=()
for exe in "$bin"/fuzz_*; do
    harnesses+=("$(basename "$exe")")
done

run_one() {
    local h="$1" name="${1#fuzz_}"
    mkdir -p "$build/fuzz-corpus/$name"
    # fuzz/NAME.flags: the harness's own libFuzzer flags, e.g. a -max_len near its largest real file.
    local flags=()
    if [ -f "$root/fuzz/$name.flags" ]; then
        read -r -a flags <"$root/fuzz/$name.flags"
    fi
    # -timeout: no single input may take more than 30 s (the bet log's bound keeps the worst far below);
    # -rss_limit_mb: nor more than 2 GiB.
    # The workers share the corpus folder and take up each other's finds as they go (-reload).
    local w pids=() rc=0
    for ((w = 0; w < workers; w++)); do
        "$bin/$h" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 -reload=1 \
            "${flags[@]}" -dict="$root/fuzz/layouts.dict" -artifact_prefix="$build/fuzz-findings/$name-" \
            "$build/fuzz-corpus/$name" "$build/fuzz-seeds/$name" >"$build/fuzz-logs/$name.$w.log" 2>&1 &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do
        wait "$pid" || rc=$?
    done
    echo "$rc" >"$build/fuzz-logs/$name.rc"
}

running=0
for h in "${harnesses[@]}"; do
    run_one "$h" &
    running=$((running + 1))
    if [ "$running" -ge "$parallel" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait

failed=0
printf '%-12s %12s %10s %8s  %s\n' harness runs runs/s corpus result
for h in "${harnesses[@]}"; do
    name="${h#fuzz_}"
    log="$build/fuzz-logs/$name.*.log"
    rc="$(cat "$build/fuzz-logs/$name.rc" 2>/dev/null || echo 1)"
    runs="$(cat "$build"/fuzz-logs/"$name".*.log | sed -n 's/^stat::number_of_executed_units: *//p' |
        awk '{ n += $1 } END { if (NR) print n }')"
    rate="$(( ${runs:-0} / (seconds > 0 ? seconds : 1) ))"
    corpus="$(find "$build/fuzz-corpus/$name" -type f | wc -l)"
    if [ "$rc" -eq 0 ]; then
        result=ok
    else
        result="FOUND (exit $rc), see $log"
        failed=1
    fi
    printf '%-12s %12s %10s %8s  %s\n' "$name" "${runs:-?}" "$rate" "$corpus" "$result"
done
if [ "$failed" -ne 0 ]; then
    for rcfile in "$build"/fuzz-logs/*.rc; do
        name="$(basename "$rcfile" .rc)"
        if [ "$(cat "$rcfile")" -ne 0 ]; then
            for log in "$build"/fuzz-logs/"$name".*.log; do
                echo "---- $(basename "$log")"
                grep -v '^#[0-9]' "$log" | tail -40
            done
        fi
    done
fi
exit "$failed"
