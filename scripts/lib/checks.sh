# Shared by the test scripts: source it after `set -euo pipefail`.
#   need_packages PKG...      installs the Debian packages that are missing (through sudo
#                             when not root); quiet when all are there
#   check WHAT COMMAND...     runs COMMAND, prints "ok    WHAT" or "FAIL  WHAT", counts fails
#   skip REASON               says why the whole script is skipped and exits 0
#   finish                    prints the summary; exits 1 when a check failed
# The caller sets `script` to its own name for the messages.

fails=0
script=${script:-$(basename "$0")}

need_packages() {
  local missing=() p sudo=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok    $what"
  else
    echo "FAIL  $what"
    fails=$((fails + 1))
  fi
}

skip() {
  echo "$script: SKIPPED: $*"
  exit 0
}

finish() {
  echo
  if [ "$fails" -eq 0 ]; then
    echo "$script: all checks passed"
  else
    echo "$script: $fails checks failed"
    exit 1
  fi
}
