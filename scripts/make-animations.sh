#!/bin/sh
# Redraws the README's animations, docs/animations/*.gif, by running every
# scenario in examples/animations/ through kvr9-headless.
#   scripts/make-animations.sh [path/to/kvr9-headless]
# Without an argument it builds the dev preset's kvr9-headless first.
exec "$(dirname "$0")/run-scenario-folder.sh" examples/animations docs/animations "$@"
