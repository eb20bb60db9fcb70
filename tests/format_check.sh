#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes of it.
#   format_check.sh SOURCE_DIR
set -euo pipefail
cd "$1"
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 77; }
find src tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror
