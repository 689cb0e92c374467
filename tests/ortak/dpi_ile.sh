#!/usr/bin/env bash
# Runs a command (a test program through scripts/wine-exec) with Wine's screen at
# another DPI, and puts the prefix back to 96 afterwards, whether the command passed,
# failed or was stopped.
# Usage: dpi_ile.sh DPI BUILD_DIR COMMAND...
set -euo pipefail
umask 077   # before Wine starts: see scripts/wine-env
dpi=$1
build=$2
shift 2
source "$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-env"
korva_wine_env "$build"
korva_wine_prefix
trap 'korva_wine_dpi 96' EXIT
trap 'exit 143' TERM INT HUP
korva_wine_dpi "$dpi"
"$@"
