#!/usr/bin/env bash
# Runs the manual's recipe for many machines, as it stands in the manual, with this machine as the
# only host: 300 PNGs and a few files that are no PNG in 4 shards. Every PNG gives its PSD, every
# other file its own Error line, and the status is 1; a list of PNGs alone ends with 0.
# Usage: parallel_recipe_test.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The recipe's own text, so that the manual cannot drift from what is tested.
recipe=$(python3 - "$source/docs/manual/Lumbrix.html" <<'PY'
import html, re, sys
text = open(sys.argv[1], encoding="utf-8").read()
print(html.unescape(re.search(r'<pre id="parallel-recipe">(.*?)</pre>', text, re.S).group(1)))
PY
)
export PATH=$build:$PATH HOME=$work/home
mkdir -p "$HOME/.parallel" && touch "$HOME/.parallel/will-cite"

mkdir "$work/in" "$work/run" "$work/clean"
for i in $(seq -w 0 299); do
  cp "$source/samples/sample.png" "$work/in/p$i.png"
  echo "$work/in/p$i.png" >>"$work/pngs.txt"
done
bad=()
for i in 1 2 3; do
  echo "no picture" >"$work/in/bad$i.png"
  bad+=("$work/in/bad$i.png")
done
# The bad files in the first, third and fourth quarter of the list, so in different shards.
{ sed -n '1,50p' "$work/pngs.txt"; echo "${bad[0]}"; sed -n '51,160p' "$work/pngs.txt"
  echo "${bad[1]}"; sed -n '161,260p' "$work/pngs.txt"; echo "${bad[2]}"
  sed -n '261,$p' "$work/pngs.txt"; } >"$work/list.txt"

run_recipe() { # folder list output
  (cd "$1" && LIST=$2 OUT=$3 HOSTS=: SHARDS=4 bash -c "$recipe") 2>"$1/stderr"
}

status=0
run_recipe "$work/run" "$work/list.txt" "$work/out" || status=$?
[ "$status" = 1 ] || fail "the recipe ends with $status, not 1, after failed files"
shards=("$work"/run/shard-*)
[ "${#shards[@]}" = 4 ] || fail "${#shards[@]} shards, not 4"
written=$(find "$work/out" -name '*.psd' | wc -l)
[ "$written" = 300 ] || fail "$written PSDs written, not 300"
for i in $(seq -w 0 299); do
  [ "$(head -c 4 "$work/out/p$i.psd" 2>/dev/null)" = 8BPS ] || fail "no PSD for p$i.png"
done
[ "$(wc -l <"$work/run/failures.txt")" = 3 ] || fail "failures.txt: $(cat "$work/run/failures.txt")"
for file in "${bad[@]}"; do
  grep -q "^Error: $file: ." "$work/run/failures.txt" || fail "no failure line for $file"
done
[ "$(grep -c $'\t1\t' "$work/run/jobs.log" || true)" -ge 1 ] || fail "jobs.log: no failed shard"

status=0
run_recipe "$work/clean" "$work/pngs.txt" "$work/clean-out" || status=$?
[ "$status" = 0 ] || fail "the recipe ends with $status over PNGs alone"
[ ! -s "$work/clean/failures.txt" ] || fail "failure lines over PNGs alone"

[ "$failures" = 0 ] && echo "parallel recipe checks passed"
exit "$failures"
