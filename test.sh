#!/bin/sh
# Builds and runs every test: the unit tests in a normal build and again
# under AddressSanitizer + UndefinedBehaviorSanitizer, the audio and mutex
# tests under ThreadSanitizer, and each fuzz target for a bounded time.
# Installs whatever is missing first.
#
# The four builds go on side by side as lanes, sharing one pool of compile
# jobs through make's jobserver, and each lane runs its tests as soon as
# its build is done; the fuzz targets run as many at once as there are
# cores. Each lane's report is shown whole once all are done.
set -u
cd "$(dirname "$0")"

JOBS=$(nproc 2>/dev/null || echo 4)
FUZZ_SECONDS=${FUZZ_SECONDS:-30}
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

LANES="normal sanitizer tsan fuzz"
RESULTS=build-results

passed=0
failed=0
skipped=0
fail() { echo "test.sh: $*"; failed=$((failed + 1)); }

# run_ctest <build dir> <label>: adds the run's counts to the totals.
run_ctest() {
    dir=$1; label=$2; shift 2
    log="$dir/ctest.log"
    timeout 2400 ctest --test-dir "$dir" --output-on-failure -j "$JOBS" --timeout 300 "$@" </dev/null >"$log" 2>&1
    cat "$log"
    total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
    bad=$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -1)
    if [ -z "$total" ] || [ "$total" -eq 0 ]; then
        fail "$label: no test ran"
        return
    fi
    skip=$(grep -c '(Skipped)$' "$log")
    passed=$((passed + total - bad - skip))
    failed=$((failed + bad))
    skipped=$((skipped + skip))
}

build() {
    dir=$1; shift
    cmake -S . -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
    # Under the lanes' make the build draws on the shared job pool; a -j of
    # its own would take it out of the pool.
    case " ${MAKEFLAGS-} " in
    *jobserver*) parallel="" ;;
    *) parallel="-j $JOBS" ;;
    esac
    # shellcheck disable=SC2086
    cmake --build "$dir" $parallel >"$dir.build.log" 2>&1 || { tail -n 60 "$dir.build.log"; return 1; }
}

# run_fuzzer <target>: FUZZ_SECONDS of fuzzing from a copy of its corpus;
# the log and the exit status land beside the target's work folder.
run_fuzzer() {
    name=$(basename "$1")
    work="build-fuzz/corpus/$name"
    mkdir -p "$work"
    [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"
    timeout $((FUZZ_SECONDS + 120)) "$1" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 \
        -timeout=10 "$work" </dev/null >"build-fuzz/$name.log" 2>&1
    echo $? >"build-fuzz/$name.status"
}

# Every fuzz target for the same bounded time, JOBS at once: each batch
# ends together, so batches lose nothing to waiting.
run_fuzzers() {
    rm -f build-fuzz/*_fuzz.status
    started=0
    for f in build-fuzz/bin/*_fuzz; do
        [ -x "$f" ] || continue
        run_fuzzer "$f" &
        started=$((started + 1))
        [ $((started % JOBS)) -eq 0 ] && wait
    done
    wait
    for f in build-fuzz/bin/*_fuzz; do
        [ -x "$f" ] || continue
        name=$(basename "$f")
        if [ "$(cat "build-fuzz/$name.status" 2>/dev/null)" = 0 ]; then
            echo "fuzz $name: ok"
            passed=$((passed + 1))
        else
            tail -n 40 "build-fuzz/$name.log"
            fail "fuzz $name found a problem (build-fuzz/$name.log)"
        fi
    done
}

# run_lane <lane>: one build and its tests, reported in RESULTS/<lane>.log
# with the counts "passed failed skipped" in RESULTS/<lane>.counts. A line
# goes to stderr as each part ends. (Descriptors from 3 up are make's
# jobserver: left alone.)
run_lane() {
    exec >"$RESULTS/$1.log"
    start=$(date +%s)
    case $1 in
    normal)
        echo "=== normal build"
        if build build -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
            echo "test.sh: normal build done, testing ($(($(date +%s) - start)) s)" >&2
            run_ctest build normal
        else
            fail "normal build failed"
        fi ;;
    sanitizer)
        echo "=== sanitizer build (ASan + UBSan)"
        if build build-asan -DCMAKE_BUILD_TYPE=Debug -DGOBSTREL_SANITIZE=ON; then
            echo "test.sh: sanitizer build done, testing ($(($(date +%s) - start)) s)" >&2
            run_ctest build-asan sanitizer
        else
            fail "sanitizer build failed"
        fi ;;
    tsan)
        echo "=== thread sanitizer build (audio thread)"
        if build build-tsan -DCMAKE_BUILD_TYPE=Debug -DGOBSTREL_TSAN=ON -DGOBSTREL_ASSETS=OFF; then
            echo "test.sh: thread sanitizer build done, testing ($(($(date +%s) - start)) s)" >&2
            run_ctest build-tsan "thread sanitizer" -R 'audio|mutex'
        else
            fail "thread sanitizer build failed"
        fi ;;
    fuzz)
        echo "=== fuzz targets (${FUZZ_SECONDS}s each, $JOBS at once)"
        if CC=clang CXX=clang++ build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGOBSTREL_FUZZ=ON; then
            echo "test.sh: fuzz build done, fuzzing ($(($(date +%s) - start)) s)" >&2
            run_fuzzers
        else
            fail "fuzz build failed"
        fi ;;
    *)
        fail "no lane called $1" ;;
    esac
    echo "$passed $failed $skipped" >"$RESULTS/$1.counts"
    echo "test.sh: $1 lane done ($(($(date +%s) - start)) s)" >&2
}

if [ "${1-}" = "--lane" ]; then
    run_lane "$2"
    exit 0
fi

./scripts/setup.sh || { echo "test.sh: setup failed" >&2; exit 1; }

mkdir -p "$RESULTS"
for lane in $LANES; do
    rm -f "$RESULTS/$lane.log" "$RESULTS/$lane.counts"
done
echo "=== building and testing side by side: $LANES"
# '+' hands the jobserver to the lanes' builds.
printf 'all: %s\n%s:\n\t+@./test.sh --lane $@\n.PHONY: all %s\n' "$LANES" "$LANES" "$LANES" |
    make -s -f - -j "$JOBS" all

for lane in $LANES; do
    cat "$RESULTS/$lane.log" 2>/dev/null
    if read -r p f s <"$RESULTS/$lane.counts" 2>/dev/null; then
        passed=$((passed + p))
        failed=$((failed + f))
        skipped=$((skipped + s))
    else
        fail "the $lane lane did not finish"
    fi
done

echo "gobstrel: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
