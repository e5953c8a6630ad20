#!/usr/bin/env bash
# Checks what a user installs from a built tree: the desktop entry and the AppStream record pass
# their validators, the desktop entry offers the program for text files and names the class its
# window gets, the manual page renders without warnings, the help document and the manual page
# describe the switches --help lists, a staged install holds exactly the files of
# tests/install/files.txt, starts from its installed path and runs on Wayland, and the Debian
# package holds the same files and passes lintian without errors or warnings. BUILD_DIR is a folder
# built by scripts/build-package.sh, which adds the hardening flags checked here.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
expected=tests/install/files.txt

entry=data/com.corvane.Twinscan.desktop
desktop-file-validate "$entry"
grep -qx 'Exec=twinscan %f' "$entry"
grep -qx 'MimeType=text/plain;' "$entry"
# The window completes the launcher's startup notification, so the desktop may show it.
grep -qx 'StartupNotify=true' "$entry"
appstreamcli validate --no-net "$build/data/com.corvane.Twinscan.metainfo.xml"
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$build/doc/twinscan.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "$warnings" >&2; exit 1; }
# mandoc's checks, down to its style notes, have nothing to say about it either.
mandoc -T lint -W style "$build/doc/twinscan.1"

# The help document shows the program's own synopsis, and both documents describe every switch
# that --help lists.
help=$("$build/twinscan" --help)
synopsis=$(sed -n 's/^Usage: //p' <<<"$help")
grep -qF "$synopsis" doc/ReadMe.html || { echo "ReadMe.html lacks: $synopsis" >&2; exit 1; }
for switch in $(awk '$1 ~ /^\/[a-z]$/ { print $1 }' <<<"$help"); do
    grep -qE "^\.B[IR]? $switch( |$)" doc/twinscan.1.in \
        || { echo "twinscan.1 lacks $switch" >&2; exit 1; }
    grep -qF "<code>$switch " doc/ReadMe.html || { echo "ReadMe.html lacks $switch" >&2; exit 1; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null
# What only the package holds is left out of a plain install.
diff -u <(grep -vxFf tests/install/package-only.txt "$expected") \
    <(cd "$stage/root" && find . ! -type d | sed 's|^\./||' | sort)
"$stage/root/usr/bin/twinscan" --version
# Built as scripts/build-package.sh builds it: every hardening feature present, and no RUNPATH
# that would let the loader look for Qt anywhere but in the system's folders. Control flow
# protection is compiled in but cannot be marked on the program: Debian 12's own start files carry
# no such mark, so the linker drops it from every program (/usr/bin/ls shows the same).
hardening-check --nocfprotection "$stage/root/usr/bin/twinscan"
if readelf -d "$stage/root/usr/bin/twinscan" | grep -E 'R(UN)?PATH'; then exit 1; fi
scripts/check-window-class.sh "$stage/root/usr/bin/twinscan" \
    "$(sed -n 's/^StartupWMClass=//p' "$entry")"
scripts/check-wayland.sh "$stage/root/usr/bin/twinscan"

(cd "$build" && cpack -G DEB -B "$stage/deb" >/dev/null)
deb=("$stage"/deb/twinscan_*.deb)
diff -u "$expected" <(dpkg-deb -c "${deb[0]}" | awk '$1 !~ /^d/ { print substr($6, 3) }' | sort)
# Overrides, each explained, are in packaging/lintian-overrides.
lintian --fail-on error,warning --tag-display-limit 0 "${deb[0]}" 2> >(grep -v 'root privileges' >&2)
echo "package checks passed: ${deb[0]##*/}"
