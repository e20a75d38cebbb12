#!/usr/bin/env bash
# Runs one scripted end-to-end test: skyvane --headless --script NAME.sky in a fresh data root,
# compares the transcript with NAME.out, then runs NAME.check (when present) with the root in
# $ROOT to check the files the program wrote. Extra options for the program may sit on the first
# line of the script as "# options: ..." ($ROOT there stands for the data root).
set -euo pipefail
program=$1
script=$2
base=${script%.sky}
root=$(mktemp -d /tmp/skyvane-script-XXXXXX)
trap 'rm -rf "$root"' EXIT
options=$(sed -n '1s/^# options: //p' "$script" | sed "s#\$ROOT#$root#g")
actual="$root/transcript.out"
# shellcheck disable=SC2086
SKYVANE_ROOT="$root" "$program" --headless --script "$script" --clock "2026-01-15 21:30:00" $options > "$actual"
if ! diff -u "$base.out" "$actual"; then
    echo "transcript differs from $base.out" >&2
    exit 1
fi
if [ -f "$base.check" ]; then
    ROOT="$root" bash "$base.check"
fi
echo "ok: $(basename "$script")"
