#!/usr/bin/env bash
# The build's include check: a skin layer including a layer above it, and a
# program reaching past the engine's facade, are refused with the line named;
# the allowed includes pass.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
check="$root/cmake/CheckLayerIncludes.cmake"
printf '#include "skin/data/skin_data.h"\n#include "skin/manager/skin_engine.h"\n' >"$work/facade.cpp"
printf '#include "skin/data/skin_data.h"\n  #  include "skin/form/skin_form.h"\n' >"$work/inside.cpp"

expect() {  # expect pass|fail ARGS...
  local want=$1 out
  shift
  if out=$(cmake "$@" -P "$check" 2>&1); then got=pass; else got=fail; fi
  if [ "$got" != "$want" ]; then
    echo "FAIL: wanted $want, got $got for $*: $out" >&2
    exit 1
  fi
  if [ "$want" = fail ] && ! grep -q 'inside.cpp: #  include "skin/form/skin_form.h"' <<<"$out"; then
    echo "FAIL: the refusal does not name the line: $out" >&2
    exit 1
  fi
}
allowed="-DALLOWED=skin/data/|skin/manager/skin_engine.h"
expect pass -DLAYER=app "$allowed" "-DFILES=$work/facade.cpp"
expect fail -DLAYER=app "$allowed" "-DFILES=$work/facade.cpp|$work/inside.cpp"
expect pass -DLAYER=form -DABOVE=manager "-DFILES=$work/inside.cpp"
expect fail -DLAYER=controls "-DABOVE=form|manager" "-DFILES=$work/inside.cpp"
echo "ok: the include check refuses what it must and passes the rest"
