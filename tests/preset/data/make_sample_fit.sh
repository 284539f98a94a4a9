#!/usr/bin/env bash
# The fits of the sample measurement as the native tool prints them (see ../fit_golden.h, which
# holds the same options): the output both builds must print, byte for byte.
# Run from the repository:  tests/preset/data/make_sample_fit.sh > tests/preset/data/sample_fit.txt
set -euo pipefail
tool=build/native/corvalen-preset
sample=resources/sample/sample_headphone.csv
out=$(mktemp --suffix=.fxp)
trap 'rm -f "$out"' EXIT
for options in "--reference auto" "--reference auto --rate 44100" "--reference 70 --rate 96000"; do
  echo "## $options"
  # shellcheck disable=SC2086
  "$tool" fit "$sample" -o "$out" --name Sample $options |
    grep -v -e '^# Corvalen program' -e '^# fitted to' -e '^# measurement:'
done
