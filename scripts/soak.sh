#!/usr/bin/env bash
# The fault-injection soak, beyond what `make test` runs: more sessions in virtual time (new ones,
# after the 2000 of the test suite), then sessions in real time through kq904-sim on a
# pseudo-terminal and the serial port. Builds nothing: `make soak` builds first.
#   scripts/soak.sh [BIN_DIR]           (default build/bin)
#   SOAK_SESSIONS=50                    real-time sessions (about 3 s each)
#   SOAK_VIRTUAL_SESSIONS=20000         virtual-time sessions (about 0.1 ms each)
#   SOAK_SEED=904                       base seed of both
# Ends with "N passed, M failed" over both; exits non-zero when any session failed.
set -uo pipefail
bin="${1:-build/bin}"
seed="${SOAK_SEED:-904}"
for program in tests_soak tests_soak_pty kq904-sim; do
  if [ ! -x "$bin/$program" ]; then
    echo "soak: $bin/$program is not built (make build)" >&2
    exit 2
  fi
done

# "N passed, M failed" from a part's output; a part that died without one counts as one failure.
tally() {
  local line
  line="$(grep -oE '[0-9]+ passed, [0-9]+ failed' "$1" | tail -1)"
  if [ -z "$line" ]; then echo "0 1"; else echo "$line" | awk '{print $1, $3}'; fi
}

log="$(mktemp -d)"
trap 'rm -rf "$log"' EXIT

echo "== virtual time: ${SOAK_VIRTUAL_SESSIONS:-20000} sessions"
KQ904_SOAK_SEED="$seed" KQ904_SOAK_FIRST=2000 KQ904_SOAK_SESSIONS="${SOAK_VIRTUAL_SESSIONS:-20000}" \
  "$bin/tests_soak" --gtest_filter='FaultSoak.EverySessionEndsAsItsFaultsImply' --gtest_brief=1 \
  | tee "$log/virtual"
echo "== real time: ${SOAK_SESSIONS:-50} sessions"
KQ904_SOAK_SEED="$seed" KQ904_SOAK_SESSIONS="${SOAK_SESSIONS:-50}" "$bin/tests_soak_pty" \
  | tee "$log/pty"

read -r vp vf <<< "$(tally "$log/virtual")"
read -r pp pf <<< "$(tally "$log/pty")"
echo "$((vp + pp)) passed, $((vf + pf)) failed"
[ $((vf + pf)) -eq 0 ]
