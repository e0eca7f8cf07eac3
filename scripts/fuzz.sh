#!/usr/bin/env bash
# Fuzzes the form description reader natively with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer. Not part of CI: run it by hand, as root on Debian 12.
#
#   bash scripts/fuzz.sh [SECONDS]     # default 300
#   SETUP_FUZZ_MAX_LEN=70000 bash scripts/fuzz.sh 300
#
# Builds into build/fuzz/ (or $SETUP_FUZZ_DIR), grows a working corpus there from the
# seeds in fuzz/corpus/, and exits non-zero when a crash, leak, hang or out-of-memory
# input was written to build/fuzz/artifacts/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-300}"
out="${SETUP_FUZZ_DIR:-$root/build/fuzz}"
# Real descriptions are a few hundred bytes; SETUP_FUZZ_MAX_LEN=70000 reaches the size bound.
max_len="${SETUP_FUZZ_MAX_LEN:-4096}"

case "$seconds" in
  '' | *[!0-9]*) echo "fuzz: SECONDS must be a whole number, got '$seconds'" >&2; exit 2 ;;
esac

# clang-14 alone lacks the fuzzer runtime; it comes with libclang-rt-14-dev.
packages=(clang-14 libclang-rt-14-dev)
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=()
for p in "${packages[@]}"; do have_pkg "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "fuzz: missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

mkdir -p "$out/corpus" "$out/artifacts"
# Artifacts of an earlier run would make this one look failed.
rm -f "$out"/artifacts/crash-* "$out"/artifacts/leak-* "$out"/artifacts/timeout-* \
  "$out"/artifacts/oom-* "$out"/artifacts/slow-unit-*

clang++-14 -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/platform" "$root/platform/FormReader.cpp" "$root/fuzz/FormReaderFuzz.cpp" \
  -o "$out/FormReaderFuzz"

cp "$root"/fuzz/corpus/* "$out/corpus/"

log="$out/fuzz.log"
status=0
# UBSan already aborts on its first report; the stack trace says where.
UBSAN_OPTIONS=print_stacktrace=1 \
  "$out/FormReaderFuzz" "$out/corpus" \
  -max_total_time="$seconds" -timeout=2 -rss_limit_mb=2048 -detect_leaks=1 \
  -dict="$root/fuzz/form.dict" -max_len="$max_len" -print_final_stats=1 \
  -artifact_prefix="$out/artifacts/" >"$log" 2>&1 || status=$?

echo "== form reader fuzzing, log in $log"
grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || grep -E '^#[0-9]+' "$log" | tail -n 1 || true
grep -E '^stat::' "$log" || true
echo "working corpus: $(find "$out/corpus" -type f | wc -l) files"

findings=$(find "$out/artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
  -o -name 'oom-*' \) | sort)
if [ -n "$findings" ]; then
  echo "findings:"
  echo "$findings"
  grep -E 'ERROR: |runtime error:|FormReaderFuzz: |SUMMARY: ' "$log" | head -n 20 || true
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "fuzz: the fuzzer exited with status $status without an artifact; see $log" >&2
  exit "$status"
fi
echo "findings: none"
