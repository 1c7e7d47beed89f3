#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those that are missing.
# This is the one place that lists the system packages.
#   scripts/install-deps.sh          what building, running and testing need
#   scripts/install-deps.sh --fuzz   also clang and its libFuzzer runtime (make fuzz)
#   scripts/install-deps.sh --windows  also MinGW-w64 and Wine (make test-windows)
#   scripts/install-deps.sh --chirp  also CHIRP, for the optional CSV interop check
#                                    (scripts/chirp-csv-check.py); never needed by make test
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-serialport-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core poppler-utils
  locales  # the locale sources localedef builds the tests' comma locale from
  clang-format
)
for option in "$@"; do
  case "$option" in
    --fuzz)
      # libFuzzer comes with clang; its runtime is a separate package (only a "Recommends").
      packages+=(clang libclang-rt-14-dev) ;;
    --windows)
      # The posix thread model of MinGW-w64 (std::thread and std::mutex need it); Google Test
      # is built for Windows from the source libgtest-dev ships in /usr/src/googletest.
      packages+=(g++-mingw-w64-x86-64-posix wine64) ;;
    --chirp)
      packages+=(chirp) ;;
    *)
      echo "install-deps.sh: unknown option '$option' (--fuzz, --windows, --chirp)" >&2
      exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
