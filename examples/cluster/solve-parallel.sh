#!/bin/sh
# Solves a game in N shards with GNU parallel, on this machine or on ssh hosts, then merges
# the parts: the result is exactly that of one run.
#
#   solve-parallel.sh GAME.lmx N [PARTS_DIR] [-- PARALLEL_OPTIONS...]
#
# On ssh hosts (each with ludomark-cli on its PATH), pass GNU parallel's own options, e.g.
#   solve-parallel.sh game.lmx 16 parts -- -S 8/host1,8/host2 --transferfile {GAME} --return {PART} --cleanup
# ({GAME} and {PART} stand for the game file and the part of each shard).
# LUDOMARK_CLI names the tool when it is not on the PATH.
set -eu
[ $# -ge 2 ] || { echo "usage: $0 GAME.lmx N [PARTS_DIR] [-- PARALLEL_OPTIONS...]" >&2; exit 2; }
game=$1
count=$2
shift 2
parts=parts
if [ $# -gt 0 ] && [ "$1" != "--" ]; then parts=$1; shift; fi
[ $# -gt 0 ] && [ "$1" = "--" ] && shift
cli=${LUDOMARK_CLI:-ludomark-cli}
mkdir -p "$parts"
# GNU parallel's own options, with the placeholders for the game and the part filled in.
options=""
for option in "$@"; do
  option=$(printf '%s' "$option" | sed "s|{GAME}|$game|g; s|{PART}|$parts/part-{}.lmx|g")
  options="$options '$option'"
done
# The shards report on stderr: stdout carries the merged solutions only.
eval parallel --will-cite --halt now,fail=1 $options \
  "'$cli' solve '$game' --shard {}/$count --out '$parts/part-{}.lmx'" ::: $(seq 1 "$count") >&2
i=1
set --
while [ "$i" -le "$count" ]; do
  set -- "$@" "$parts/part-$i.lmx"
  i=$((i + 1))
done
exec "$cli" merge "$game" "$@"
