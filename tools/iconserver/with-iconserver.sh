#!/usr/bin/env bash
# Runs a command while the local icon site is up:
#   with-iconserver.sh SERVER ROOT COMMAND [ARGS...]
# Starts SERVER on a free loopback port with the site folder ROOT, exports its
# address as IV_ICON_SERVER (http://127.0.0.1:PORT), runs the command and stops
# the server afterwards. Exits with the command's status, or 77 (skipped) when the
# server has not been built, so a cross build alone still runs its other tests.
# Under CI=true a missing server fails instead: there every test must run.
set -u
if [ $# -lt 3 ]; then
  echo "usage: $0 SERVER ROOT COMMAND [ARGS...]" >&2
  exit 2
fi
server=$1 root=$2
shift 2
if [ ! -x "$server" ] || [ ! -d "$root" ]; then
  if [ "${CI:-}" = true ]; then
    echo "FAIL: no icon server at $server (CI=true: build the native tree first)" >&2
    exit 1
  fi
  echo "SKIP: no icon server at $server (build the native tree first)"
  exit 77
fi

coproc SITE { exec "$server" --root "$root" --port 0; }
# Bash unsets SITE when the server exits: its descriptors are kept here, so that a
# server that dies early cannot turn the closing of its pipes below into closing ours.
site_pid=$SITE_PID site_out=${SITE[0]} site_in=${SITE[1]}
stop_site() {
  kill -TERM "$site_pid" 2>/dev/null
  wait "$site_pid" 2>/dev/null
}
trap stop_site EXIT
trap "exit 143" TERM INT

# The first line names the port; the server flushes it as soon as it listens.
line=
if ! read -r -t 30 line <&"$site_out" || [[ $line != "listening on http://"* ]]; then
  echo "the icon server did not start: ${line:-no output}" >&2
  exit 1
fi
export IV_ICON_SERVER=${line#listening on }
# The command needs neither end of the server's pipes.
eval "exec $site_in>&- $site_out<&-"
"$@"
