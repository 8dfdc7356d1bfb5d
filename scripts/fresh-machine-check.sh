#!/usr/bin/env bash
# Proves the README's two commands on a new Debian 12 machine: builds a minimal
# Debian 12 root with debootstrap, puts a clean clone of the current commit and
# a copy of ../shared into it, and runs there, as root, the test command (it
# must pass) and the run command (the application must keep running for 15
# seconds and make its database). Nothing built or installed on this machine
# goes into the root; only the ccache folder is lent, since compiled objects
# are not installed packages. Needs root.
#
#   scripts/fresh-machine-check.sh
#
# TONARA_FRESH_CACHE   where the debootstrap tarball is kept between runs
#                      (default /var/cache/tonara-fresh-machine)
# TONARA_FRESH_KEEP=1  leaves the root in place for a look afterwards
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
suite=bookworm
cache="${TONARA_FRESH_CACHE:-/var/cache/tonara-fresh-machine}"
run_seconds=15

say() { printf 'fresh-machine-check: %s\n' "$*"; }
die() { say "FAILED: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || die "must run as root (it makes a chroot and mounts into it)"
commit="$(git -C "$repo" rev-parse HEAD)"
[ -d "$repo/../shared" ] || die "no ../shared beside the checkout"
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  say "note: uncommitted changes are not part of the check; it tests commit $commit"
fi

# The mirror is the one this machine's own apt sources use for the main archive.
mirror_from_sources() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v suite="$suite" '
      /^[[:space:]]*$/ { if (uris != "" && suites ~ ("(^| )" suite "( |$)")) { print uris; exit }
                         uris = ""; suites = ""; next }
      /^URIs:/   { uris = $2 }
      /^Suites:/ { $1 = ""; suites = $0 }
      END { if (uris != "" && suites ~ ("(^| )" suite "( |$)")) print uris }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk -v suite="$suite" '$1 == "deb" && $0 !~ /\[/ && $3 == suite { print $2 }
                           $1 == "deb" && $0 ~ /\[/ { sub(/\[[^]]*\]/, ""); if ($3 == suite) print $2 }' "$f"
  done
}
mirror="$(mirror_from_sources | head -n1)"
[ -n "$mirror" ] || die "no '$suite' archive in this machine's apt sources"
say "mirror $mirror, commit $commit"

if ! command -v debootstrap >/dev/null; then
  say "installing debootstrap"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

root="$(mktemp -d /var/tmp/tonara-fresh.XXXXXX)"
app_pid=""

# Unmounts everything below the root, deepest first, and removes it; refuses to
# remove anything while a mount is left below it.
cleanup() {
  local status=$?
  trap - EXIT INT TERM HUP
  set +e
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  pkill -TERM -P $$ 2>/dev/null
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  local m
  for m in $(awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts | sort -r); do
    umount "$m" 2>/dev/null || umount -l "$m"
  done
  if awk -v r="$root" '$2 == r || index($2, r "/") == 1 { found = 1 } END { exit !found }' /proc/self/mounts; then
    say "mounts are left below $root; not removing it" >&2
  elif [ "${TONARA_FRESH_KEEP:-0}" = 1 ]; then
    say "root kept at $root"
  else
    rm -rf --one-file-system "$root"
  fi
  rm -f "$root.log"
  [ "$status" -ge 128 ] && rm -f "$root.test.log"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
# Long steps run in the background and are waited for: bash runs a trap only
# once a foreground command has ended, but at once during a wait.
interruptible() { "$@" & wait $!; }

# The tarball holds the base system's packages, so a rerun skips the download.
mkdir -p "$cache"
tarball="$cache/$suite-minbase-$(printf '%s' "$mirror" | md5sum | cut -c1-8).tgz"
if [ ! -s "$tarball" ]; then
  say "downloading the base system into $tarball"
  interruptible debootstrap --variant=minbase --make-tarball="$tarball.part" "$suite" "$root/tmp-make" "$mirror" >/dev/null
  mv "$tarball.part" "$tarball"
  rm -rf "$root/tmp-make"
fi
say "making the Debian 12 root at $root"
if ! interruptible debootstrap --variant=minbase --unpack-tarball="$tarball" "$suite" "$root" "$mirror" > "$root.log" 2>&1; then
  tail -n 20 "$root.log" >&2
  rm -f "$tarball" "$root.log"
  die "debootstrap could not make the root (the tarball is dropped; run again)"
fi
rm -f "$root.log"

# The same archives as a new installation of this machine would list, and a
# name server to reach them.
cp /etc/resolv.conf "$root/etc/resolv.conf"
rm -f "$root/etc/apt/sources.list"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && cp "$f" "$root$f"
done

mkdir -p "$root/work"
git clone -q --no-local "$repo" "$root/work/main"
git -C "$root/work/main" checkout -q --detach "$commit"
cp -r "$repo/../shared" "$root/work/shared"

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
host_ccache="$(ccache -k cache_dir 2>/dev/null || true)"
if [ -n "$host_ccache" ]; then
  mkdir -p "$host_ccache" "$root/root/.cache/ccache"
  mount --bind "$host_ccache" "$root/root/.cache/ccache"
fi

# Runs a command in the root as a new user's root shell would, with nothing of
# this machine's environment.
clean_env=(/usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8
           PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
in_root() { chroot "$root" "${clean_env[@]}" "$@"; }

# The commands' whole output goes to a log beside the root, kept when they fail.
log="$root.test.log"
say "the test command: cd /work/main && scripts/test.sh (output in $log)"
start=$(date +%s)
if ! interruptible in_root /bin/bash -c 'cd /work/main && scripts/test.sh' > "$log" 2>&1; then
  tail -n 80 "$log" >&2
  die "the README's test command failed in the fresh root (whole output in $log)"
fi
grep -E '^[0-9]+% tests passed' "$log" || true
rm -f "$log"
say "the test command passed in $(( $(date +%s) - start )) s"

say "the run command: cd /work/main && scripts/run.sh --data-dir /tmp/tonara-data (offscreen)"
(exec chroot "$root" "${clean_env[@]}" /bin/bash -c 'mkdir -p /tmp/tonara-data && cd /work/main &&
  QT_QPA_PLATFORM=offscreen exec scripts/run.sh --data-dir /tmp/tonara-data') > "$root/tmp/run.log" 2>&1 &
app_pid=$!
db="$root/tmp/tonara-data/TonaraDock.sqlite"
# The run command builds first; the clock starts once the application has made its database.
for _ in $(seq 1 600); do
  [ -s "$db" ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  interruptible sleep 1
done
if [ ! -s "$db" ]; then
  tail -n 30 "$root/tmp/run.log" >&2
  die "the application made no database in /tmp/tonara-data"
fi
interruptible sleep "$run_seconds"
if ! kill -0 "$app_pid" 2>/dev/null; then
  tail -n 30 "$root/tmp/run.log" >&2
  die "the application stopped within $run_seconds seconds of making its database"
fi
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
say "the run command started the application; it ran $run_seconds s and made $(basename "$db") ($(stat -c %s "$db") bytes)"
say "passed: a fresh Debian 12 root builds, tests and runs commit $commit"
