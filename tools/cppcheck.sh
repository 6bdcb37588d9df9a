#!/bin/sh
# Static analysis of the project's sources, as the project keeps it: quiet.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
exec cppcheck --platform=win32W --library=windows --library=googletest --std=c++17 \
    --enable=warning,style,performance,portability --inline-suppr --error-exitcode=1 -q \
    -I . -DUNICODE -D_UNICODE \
    framework app cmd res memory disk perf settings tests bench tools/screenshots "$@"
