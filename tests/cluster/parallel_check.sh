#!/bin/sh
# The shards of a run spread by GNU parallel (as on ssh hosts, here the local one) merge into
# exactly what one run prints.
#   parallel_check.sh LUDOMARK_CLI EXAMPLES_DIR
set -eu
cli=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for game in bluff.lmx three_way_deal.lmx; do
  cp "$examples/$game" "$work/$game"
  (cd "$work" && LUDOMARK_CLI=$cli "$examples/cluster/solve-parallel.sh" "$game" 4 parts -- \
    -S 2/: --transferfile {GAME} --return {PART} > merged.txt)
  "$cli" solve "$work/$game" --jobs 1 > "$work/one.txt"
  cmp "$work/one.txt" "$work/merged.txt"
  rm -rf "$work/parts"
done
echo "GNU parallel: merged shards print what one run prints"
