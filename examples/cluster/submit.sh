#!/bin/sh
# Queues a game's run on a Slurm cluster: an array of N shards, then the merge, which runs
# once all shards succeeded and writes the solutions to RESULT. Prints the merge's job id.
#
#   submit.sh GAME.lmx N PARTS_DIR RESULT
set -eu
[ $# -eq 4 ] || { echo "usage: $0 GAME.lmx N PARTS_DIR RESULT" >&2; exit 2; }
here=$(dirname "$0")
array=$(sbatch --parsable --array=1-"$2" "$here/solve-array.sbatch" "$1" "$3")
sbatch --parsable --dependency=afterok:"${array%%;*}" "$here/merge.sbatch" "$1" "$3" "$2" "$4"
