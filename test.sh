#!/bin/sh
# Builds and runs every test: the unit tests in a normal build and again
# under AddressSanitizer + UndefinedBehaviorSanitizer, then each fuzz target
# for a bounded time. Installs whatever is missing first.
set -u
cd "$(dirname "$0")"

JOBS=$(nproc 2>/dev/null || echo 4)
FUZZ_SECONDS=${FUZZ_SECONDS:-30}
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

passed=0
failed=0
skipped=0
fail() { echo "test.sh: $*" >&2; failed=$((failed + 1)); }

./scripts/setup.sh || { echo "test.sh: setup failed" >&2; exit 1; }

# run_ctest <build dir> <label>: adds the run's counts to the totals.
run_ctest() {
    dir=$1; label=$2; shift 2
    log="$dir/ctest.log"
    timeout 2400 ctest --test-dir "$dir" --output-on-failure -j "$JOBS" --timeout 300 "$@" </dev/null 2>&1 | tee "$log"
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
    cmake --build "$dir" -j "$JOBS" >"$dir.build.log" 2>&1 || { tail -n 60 "$dir.build.log"; return 1; }
}

echo "=== normal build"
if build build -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
    run_ctest build normal
else
    fail "normal build failed"
fi

echo "=== sanitizer build (ASan + UBSan)"
if build build-asan -DCMAKE_BUILD_TYPE=Debug -DGOBSTREL_SANITIZE=ON; then
    run_ctest build-asan sanitizer
else
    fail "sanitizer build failed"
fi

echo "=== thread sanitizer build (audio thread)"
if build build-tsan -DCMAKE_BUILD_TYPE=Debug -DGOBSTREL_TSAN=ON -DGOBSTREL_ASSETS=OFF; then
    run_ctest build-tsan "thread sanitizer" -R 'audio|mutex'
else
    fail "thread sanitizer build failed"
fi

echo "=== fuzz targets (${FUZZ_SECONDS}s each)"
if CC=clang CXX=clang++ build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGOBSTREL_FUZZ=ON; then
    for f in build-fuzz/bin/*_fuzz; do
        [ -x "$f" ] || continue
        name=$(basename "$f")
        work="build-fuzz/corpus/$name"
        mkdir -p "$work"
        [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"
        if timeout $((FUZZ_SECONDS + 120)) "$f" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 \
                -timeout=10 "$work" </dev/null >"build-fuzz/$name.log" 2>&1; then
            echo "fuzz $name: ok"
            passed=$((passed + 1))
        else
            tail -n 40 "build-fuzz/$name.log"
            fail "fuzz $name found a problem (build-fuzz/$name.log)"
        fi
    done
else
    fail "fuzz build failed"
fi

echo "gobstrel: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
