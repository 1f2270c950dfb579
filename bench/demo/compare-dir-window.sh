#!/bin/sh
# Runs the Compare Directories window benchmark offscreen on two generated trees of
# 20,000 files in 500 directories each (arguments: build folder, then optionally the
# number of files and of directories).
set -eu
build=${1:-build}
shift || true
QT_QPA_PLATFORM=offscreen exec "$build/bench/demo/compare_dir_window_bench" "$@"
