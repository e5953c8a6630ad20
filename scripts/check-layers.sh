#!/usr/bin/env bash
# The layer rules that the compiler does not see: no include by a relative path anywhere under
# src/ (each names its layer: "engine/LineList.h"), and no Qt header but Qt Core's in the engine
# and editing libraries, which the tests and the benchmark link without a window.
#
#   scripts/check-layers.sh QTCORE_INCLUDE_DIR
set -u
cd "$(dirname "$0")/.." || exit 2
core=${1:?usage: scripts/check-layers.sh QTCORE_INCLUDE_DIR}
[ -f "$core/QString" ] || { echo "check-layers: no Qt Core headers in $core" >&2; exit 2; }
failed=0
if grep -rnE --include='*.cpp' --include='*.h' '^\s*#\s*include\s*"\.\./' src; then
    echo "check-layers: the includes above go by a relative path" >&2
    failed=1
fi
while IFS=: read -r file line header; do
    [ -f "$core/${header#QtCore/}" ] && continue
    echo "$file:$line: <$header> is not a Qt Core header" >&2
    failed=1
done < <(grep -rnoP --include='*.cpp' --include='*.h' '^\s*#\s*include\s*<\KQ[^>]*' src/engine src/editing)
exit $failed
