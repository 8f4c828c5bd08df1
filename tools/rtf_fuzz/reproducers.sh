#!/usr/bin/env bash
# Writes into tests/richtext/corpus the notes that once froze the game's layout: letters and
# line spacing far beyond a word processor's, over a few dozen wrapped words; a few thousand
# paragraphs of the tallest exact spacing.
set -euo pipefail
cd "$(dirname "$0")/../.."
words=$(for i in 1 2 3 4; do printf 'alpha beta gamma delta epsilon zeta eta theta iota '; done)
printf '{\\rtf1\\fs8364 %s\\sl83648\\slmult1 %s}' "$words" "$words" >tests/richtext/corpus/fuzz-huge-letters-and-line-spacing.rtf
{ printf '{\\rtf1\\sl-63360 '; for ((i = 0; i < 2100; ++i)); do printf 'a\\par '; done; printf '}'; } \
  >tests/richtext/corpus/fuzz-tall-exact-lines.rtf
