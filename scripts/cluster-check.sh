#!/bin/sh
# Opt-in check of the Slurm path (make cluster-check): installs Slurm and munge when missing,
# starts a one-node cluster of this machine's cores in a scratch folder, queues a game's run
# as a job array of shards and the merge that waits for it (examples/cluster/submit.sh),
# compares the merged solutions with one run's, and stops everything it started.
#   cluster-check.sh LUDOMARK_CLI [GAME] [SHARDS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
game=${2:-$root/examples/three_way_deal.lmx}
shards=${3:-4}

need=""
for pkg in slurm-wlm munge; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need="$need $pkg"
done
if [ -n "$need" ]; then
  echo "Installing:$need"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $need >/dev/null
fi

work=$(mktemp -d /tmp/ludomark-cluster.XXXXXX)
chmod 700 "$work"
mkdir -p "$work/munge" "$work/state" "$work/spool" "$work/run"
started=""
stop() {
  for pidfile in $started; do
    [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null || true
  done
  sleep 1
  rm -rf "$work"
}
trap stop EXIT INT TERM

# Munge signs the cluster's messages with a key of this run only.
dd if=/dev/urandom of="$work/munge/munge.key" bs=1024 count=1 2>/dev/null
chmod 400 "$work/munge/munge.key"
munged --force --key-file="$work/munge/munge.key" --socket="$work/munge/socket" \
  --pid-file="$work/munge/munged.pid" --log-file="$work/munge/munged.log" \
  --seed-file="$work/munge/seed"
started="$work/munge/munged.pid"

host=$(hostname -s)
cat > "$work/slurm.conf" <<CONF
ClusterName=ludomark
SlurmctldHost=$host
AuthType=auth/munge
AuthInfo=socket=$work/munge/socket
CredType=cred/munge
SlurmUser=$(id -un)
SlurmctldPort=16817
SlurmdPort=16818
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/run/slurmctld.pid
SlurmdPidFile=$work/run/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SchedulerType=sched/backfill
# A merge whose shards failed is cancelled instead of waiting for ever.
SchedulerParameters=kill_invalid_depend
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
NodeName=$host CPUs=$(nproc) State=UNKNOWN
PartitionName=check Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$work/slurm.conf"
slurmctld -f "$SLURM_CONF"
started="$started $work/run/slurmctld.pid"
slurmd -f "$SLURM_CONF"
started="$started $work/run/slurmd.pid"
i=0
until sinfo -h -o %T 2>/dev/null | grep -q idle; do
  i=$((i + 1))
  [ "$i" -le 30 ] || { echo "cluster-check: the node did not come up" >&2; cat "$work/slurmd.log" >&2; exit 1; }
  sleep 1
done

cp "$game" "$work/game.lmx"
cd "$work"
export LUDOMARK_CLI="$cli"
merge=$("$root/examples/cluster/submit.sh" "$work/game.lmx" "$shards" "$work/parts" "$work/merged.txt")
i=0
while squeue -h -j "$merge" 2>/dev/null | grep -q .; do
  i=$((i + 1))
  [ "$i" -le 600 ] || { echo "cluster-check: the merge did not finish" >&2; exit 1; }
  sleep 1
done
[ -s "$work/merged.txt" ] || { echo "cluster-check: the merge wrote nothing" >&2; cat "$work"/*.log >&2; exit 1; }
"$cli" solve "$work/game.lmx" --jobs 1 > "$work/one.txt"
cmp "$work/one.txt" "$work/merged.txt"
echo "cluster-check: $shards shards on Slurm merged into exactly what one run prints"
