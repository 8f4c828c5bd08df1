#!/usr/bin/env bash
# Writes into tests/richtext/corpus the notes that once froze the game's layout: letters and
# line spacing far beyond a word processor's, over a few dozen wrapped words; a few thousand
# paragraphs of the tallest exact spacing; tall pictures, a long word beside one, a long table row.
set -euo pipefail
cd "$(dirname "$0")/../.."
words=$(for i in 1 2 3 4; do printf 'alpha beta gamma delta epsilon zeta eta theta iota '; done)
printf '{\\rtf1\\fs8364 %s\\sl83648\\slmult1 %s}' "$words" "$words" >tests/richtext/corpus/fuzz-huge-letters-and-line-spacing.rtf
{ printf '{\\rtf1\\sl-63360 '; for ((i = 0; i < 2100; ++i)); do printf 'a\\par '; done; printf '}'; } \
  >tests/richtext/corpus/fuzz-tall-exact-lines.rtf
# Notes whose layout never finished, or took tens of seconds: 260 pictures kept 32,767 pixels
# tall; a 10,000-letter word beside a picture of the largest height, laid out in a narrow
# window; one table row of 30,000 cells; one word of 100,000 letters, which Qt measured again
# for every line it filled.
head='{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\f0\fs20 '
{ printf '%s' "$head"; for ((i = 0; i < 260; ++i)); do printf '{\\pict\\wmetafile8\\pichgoal491505 010009000003}\\par\r\n'; done
  printf '}'; } >tests/richtext/corpus/fuzz-tall-pictures.rtf
{ printf '%s' "$head"; for ((i = 0; i < 10000; ++i)); do printf "\\x$(printf %x $((97 + i % 26)))"; done
  printf '{\\pict\\wmetafile8\\pichgoal2147483648 010009000003}}'; } >tests/richtext/corpus/fuzz-long-word-beside-tallest-picture.rtf
{ printf '%s\\trowd\\trgaph108' "$head"; for ((c = 1; c <= 64; ++c)); do printf '\\cellx%d' $((c * 1000)); done
  printf '\r\n\\pard\\intbl '; for ((c = 0; c < 30000; ++c)); do printf '%d\\cell ' "$c"; done; printf '\\row\r\n\\pard}'; } \
  >tests/richtext/corpus/fuzz-row-of-30000-cells.rtf
{ printf '%s' "$head"; printf '%.0sabcdefghijklmnopqrstuvwxyz' $(seq 3846); printf 'abcd}'; } \
  >tests/richtext/corpus/fuzz-one-word-of-100000-letters.rtf
