#!/usr/bin/env bash
# Installs the Debian packages Marrowfield needs and builds it under build/.
# Run as root (or with sudo available) on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  flite1-dev                      # the CMU lexicon and letter-to-sound rules
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libzip-dev libexpat1-dev zlib1g-dev  # .xlsx reading (zlib: its tests)
  libcli11-dev nlohmann-json3-dev  # command line and JSON output
  python3 python3-openpyxl wamerican
  python3-pytest python3-pandas mypy  # the Python binding's data tests, its type check
  python3-dask python3-distributed     # marrowfield.dask and its LocalCluster test
  python3-venv python3-pip python3-setuptools python3-wheel  # the wheel
  file                             # cpack's scan of the binaries it packs
  lintian                          # the package tests' check of the packages
  clang libclang-rt-14-dev         # libFuzzer and the sanitizers for it
  valgrind
  python3-jellyfish                # Soundex, Metaphone, NYSIIS: the peers of the names quality check
  nodejs                           # the names corpus generator (tools/names_corpus)
  postgresql-15 postgresql-server-dev-15  # the extension: server, PGXS
  postgresql-contrib               # fuzzystrmatch, the extension's benchmark peer
  debootstrap                      # the throwaway Debian root that runs the 32-bit add-in under 32-bit Wine
)
# npm comes with some nodejs builds and is a package of its own in Debian's.
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
