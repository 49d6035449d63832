#!/bin/sh
# Fails when a C++ source differs from what clang-format makes of it, and
# fails loudly when it cannot check at all: a missing formatter is a broken
# set-up, not a pass.
set -eu
cd "$(dirname "$0")/.."
if ! command -v clang-format > /dev/null; then
  echo "check-format: clang-format is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
else
  find core lcd screens host panel headless tools tests bench fuzz web -name '*.cpp' -o -name '*.h' 2> /dev/null |
    xargs clang-format --dry-run -Werror
fi
