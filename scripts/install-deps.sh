#!/bin/sh
# Installs the build and test tools the project needs, only those missing.
set -e
if ! command -v dpkg-query >/dev/null 2>&1; then
  echo "Not a Debian system: install the tools yourself (see README), then use DEPS= to skip this." >&2
  exit 0
fi
need=""
for pkg in cmake ninja-build ccache g++ make libgtest-dev libbenchmark-dev clang clang-format clang-tidy \
  qt6-base-dev qt6-svg-dev fonts-dejavu-core parallel \
  pybind11-dev python3-dev python3-pytest python3-pip python3-venv \
  python3-numpy python3-pandas python3-matplotlib jupyter-nbconvert python3-ipykernel \
  libgmp-dev liblrs-dev lrslib; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    need="$need $pkg"
  fi
done
[ -z "$need" ] && exit 0
echo "Installing:$need"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $need >/dev/null
