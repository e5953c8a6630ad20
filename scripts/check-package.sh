#!/usr/bin/env bash
# Checks what a user installs from a built tree: the desktop entry and the AppStream record pass
# their validators, the manual page renders without warnings, a staged install holds exactly the
# files of tests/install/files.txt and starts from its installed path, and the Debian package holds
# the same files.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
expected=tests/install/files.txt

desktop-file-validate data/com.corvane.Twinscan.desktop
appstreamcli validate --no-net "$build/data/com.corvane.Twinscan.metainfo.xml"
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$build/doc/twinscan.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "$warnings" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null
diff -u "$expected" <(cd "$stage/root" && find . ! -type d | sed 's|^\./||' | sort)
"$stage/root/usr/bin/twinscan" --version

(cd "$build" && cpack -G DEB -B "$stage/deb" >/dev/null)
deb=("$stage"/deb/twinscan_*.deb)
diff -u "$expected" <(dpkg-deb -c "${deb[0]}" | awk '$1 !~ /^d/ { print substr($6, 3) }' | sort)
echo "package checks passed: ${deb[0]##*/}"
