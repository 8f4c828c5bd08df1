#!/usr/bin/env bash
# The libFuzzer targets: built with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/, each run from its seed corpus (written by our own writers) for a fixed
# time. A crash, a sanitizer report, an input that takes over 5 s or a process above 1 GB
# (15 s and 2 GB for the note targets, whose inputs go to a megabyte) fails the run; the input that did is kept in build-fuzz/findings/. New inputs the fuzzers
# find go to build-fuzz/corpus/, never into the repository. The cut's own tests run in the
# same build first. The whole-way targets (a saved game, a still puzzle onto the table with
# its cover, note and music) end their logs with how many inputs reached each step.
#   tools/fuzz.sh [seconds per target, 300 by default] [target...]   (./test --fuzz runs this)
# Named targets (e.g. saved_game_libfuzzer) are the only ones built and run, without the cut's
# tests; none names them all. TV_FUZZ_JOBS caps the build's jobs (all cores by default).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/bootstrap.sh

seconds=${1:-300}
shift || true
all=(picture_libfuzzer jigsaw_libfuzzer qvp_libfuzzer rtf_fuzz ini_libfuzzer saved_game_libfuzzer
     still_puzzle_libfuzzer sound_track_libfuzzer)
chosen=("$@")
for name in "${chosen[@]}"; do
  [[ " ${all[*]} " == *" $name "* ]] || { echo "fuzz.sh: no target $name (${all[*]})" >&2; exit 2; }
done
[ "${#chosen[@]}" -gt 0 ] || chosen=("${all[@]}" puzzle_tests)
dir=build-fuzz
tv_install_missing
tv_install_missing "${TV_FUZZ_PACKAGES[@]}"
mkdir -p "$dir/findings"
start=$(date +%s)
# Optimised a little, without debug information beyond line tables: the build is most of
# the step's time, and the sanitizers' reports still name the lines.
CC=clang-14 CXX=clang++-14 cmake -S . -B "$dir" -G "Unix Makefiles" -DTV_FUZZ=ON -DTV_SANITIZE=ON -DTV_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -gline-tables-only" >"$dir/configure.log" 2>&1 || {
  cat "$dir/configure.log"; exit 1; }
# The note targets also start from notes of about a megabyte that table_fuzz writes.
notes=()
[[ " ${chosen[*]} " =~ " "(rtf_fuzz|saved_game_libfuzzer|still_puzzle_libfuzzer)" " ]] && notes=(table_fuzz)
cmake --build "$dir" -j "${TV_FUZZ_JOBS:-$(nproc)}" --target "${chosen[@]}" "${notes[@]}" -- --no-print-directory
echo "Fuzz targets built in $(( $(date +%s) - start )) s"

export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# Leaks are looked for after every input; at exit Qt's font caches are still held.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:leak_check_at_exit=0:abort_on_error=1:allocator_may_return_null=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# run <program> [libFuzzer options] <seed folders...>
run() {
  local program=$1 name
  shift
  name=$(basename "$program")
  [[ " ${chosen[*]} " == *" $name "* ]] || return 0
  mkdir -p "$dir/corpus/$name"
  echo "== $name: $seconds s"
  # Pictures may be a gigabyte by their headers (never touched unless decoded): one
  # allocation may be that large, the whole process never more.
  if ! "$dir/$program" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -malloc_limit_mb=1100 \
      -print_final_stats=1 -artifact_prefix="$dir/findings/$name-" "$dir/corpus/$name" "$@" >"$dir/$name.log" 2>&1; then
    tail -n 60 "$dir/$name.log"
    echo "$name failed; its log is $dir/$name.log, the input in $dir/findings/" >&2
    return 1
  fi
  grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+.*DONE|^reach:" "$dir/$name.log" | tr '\n' ' '
  echo
}

failed=0
# Notes go to the size cap: inputs up to a megabyte, with seeds of many rows, tabs, long words
# and pictures in cells, each under what one paragraph may cost, written by our own generator.
# The note's budgets keep it within about three times plain prose of its size, and under the
# sanitizers a megabyte of prose takes the RTF target about 4 s: an input may take 15 s. A
# document of a million positions, laid out, may hold the process at 2 GB.
if [ "${#notes[@]}" -gt 0 ]; then
  rm -rf "$dir/seeds"
  "$dir/tests/table/table_fuzz" notes "$dir/seeds" >"$dir/seeds.log" 2>&1 || { cat "$dir/seeds.log"; exit 1; }
fi
note_limits=(-max_len=1048576 -timeout=15 -rss_limit_mb=2048)
# The cut under clang's sanitizers too, which see pointer arithmetic that gcc's do not.
if [[ " ${chosen[*]} " == *" puzzle_tests "* ]] &&
   ! "$dir/tests/puzzle/puzzle_tests" --gtest_filter='BevelFilter*:ChipMask*:PuzzlePreparation*' >"$dir/cut.log" 2>&1; then
  tail -n 40 "$dir/cut.log"
  echo "the cut failed under clang's sanitizers; its log is $dir/cut.log" >&2
  failed=1
fi
run tests/imaging/picture_libfuzzer tests/imaging/corpus/bmp tests/imaging/corpus/jpeg || failed=1
run tests/puzzle/jigsaw_libfuzzer tests/puzzle/corpus tests/table/corpus/saw tests/table/corpus/jig || failed=1
run tests/puzzle/qvp_libfuzzer tests/puzzle/corpus/qvp || failed=1
run tools/rtf_fuzz/rtf_fuzz "${note_limits[@]}" tests/richtext/corpus "$dir/seeds/rtf" || failed=1
# Files of tens of thousands of keys stay seeds (the test of the INI reader times them);
# the inputs made from them are kept short, or Qt's own settings parser takes every second.
run tests/settings/ini_libfuzzer -max_len=16384 tests/settings/corpus || failed=1
# The files that once froze the game are seeds of both, saved games and still puzzles alike.
run tests/table/saved_game_libfuzzer "${note_limits[@]}" tests/table/corpus/saw tests/table/corpus/damaged "$dir/seeds/saw" ||
  failed=1
run tests/table/still_puzzle_libfuzzer "${note_limits[@]}" tests/table/corpus/jig tests/table/corpus/damaged "$dir/seeds/jig" ||
  failed=1
# Floods of notes at one tick take room: the inputs may grow to 256 KB.
run tests/puzzle/sound_track_libfuzzer -max_len=262144 tests/puzzle/corpus/music || failed=1
echo "Fuzzing done in $(( $(date +%s) - start )) s"
exit "$failed"
