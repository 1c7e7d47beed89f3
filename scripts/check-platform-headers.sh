#!/usr/bin/env bash
# Portability check: a system header or a platform switch of one platform appears only in a file
# whose name says its platform, so that everything else builds on Linux and Windows alike.
#   *_posix.cpp, *_posix.h, *_posix_test.cpp          may include POSIX headers (unistd.h, ...)
#   *_windows.cpp, *_windows.h, *_windows_test.cpp    may include Windows headers (windows.h, ...)
# CMake builds each only on its platform. #if on _WIN32, __linux__, Q_OS_WIN and the like is
# refused everywhere else for the same reason.
# Test groups that are POSIX-only by design (a suite of theirs says POSIX_ONLY in the group's
# CMakeLists.txt: they fork, or talk to a pseudo-terminal) may include POSIX headers in any file;
# their Qt-free suites are proven by make test-windows. bench/ is POSIX-only as a whole: it
# measures the pseudo-terminal server and the desktop window, and is not built on Windows.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"

posix_headers='unistd|fcntl|termios|pty|poll|signal|pwd|grp|dirent|sched|dlfcn|pthread|spawn|utmp|libgen|syslog|sys/[a-z_/]+'
windows_headers='windows|winbase|winnt|winsock2?|ws2tcpip|shellapi|shlobj|io|direct|conio|tchar|process|share'
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*<'
switch='^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif).*(_WIN32|_WIN64|__linux__|__unix__|__APPLE__|__MINGW|_MSC_VER|Q_OS_[A-Z]+)'

status=0
report() {
  echo "$1: $2"
  status=1
}

while IFS= read -r -d '' file; do
  name=$(basename "$file")
  posix_ok=0
  windows_ok=0
  [[ "$name" =~ _posix(_test)?\.(cpp|h)$ ]] && posix_ok=1
  [[ "$name" =~ _windows(_test)?\.(cpp|h)$ ]] && windows_ok=1
  case "$file" in
    "$root"/tests/*)
      group=$(cut -d/ -f1 <<<"${file#"$root"/tests/}")
      if [ -f "$root/tests/$group/CMakeLists.txt" ] && grep -q 'POSIX_ONLY' "$root/tests/$group/CMakeLists.txt"; then
        posix_ok=1
      fi
      ;;
  esac
  if [ $posix_ok -eq 0 ]; then
    while IFS= read -r line; do
      report "$file" "POSIX header outside a *_posix file: $line"
    done < <(grep -nE "$include($posix_headers)\.h>" "$file" || true)
  fi
  if [ $windows_ok -eq 0 ]; then
    while IFS= read -r line; do
      report "$file" "Windows header outside a *_windows file: $line"
    done < <(grep -niE "$include($windows_headers)\.h>" "$file" || true)
  fi
  if [ $posix_ok -eq 0 ] && [ $windows_ok -eq 0 ]; then
    while IFS= read -r line; do
      report "$file" "platform switch outside a platform file: $line"
    done < <(grep -nE "$switch" "$file" || true)
  fi
done < <(find "$root/src" "$root/tests" "$root/fuzz" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

if [ $status -eq 0 ]; then
  echo "platform headers: ok"
fi
exit $status
