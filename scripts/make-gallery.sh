#!/bin/sh
# Redraws the screen gallery, docs/screens/*.png, by running every scenario
# in examples/gallery/ through kvr9-headless.
#   scripts/make-gallery.sh [path/to/kvr9-headless]
# Without an argument it builds the dev preset's kvr9-headless first.
exec "$(dirname "$0")/run-scenario-folder.sh" examples/gallery docs/screens "$@"
