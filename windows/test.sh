#!/bin/sh
# Builds the Windows program and its tests (warnings as errors) into
# build-windows and runs the tests under Wine: the tests of the core and of
# the windows on Qt's offscreen platform, the version check against its
# hostile servers, and the real program with the windows platform in its own
# Xvfb session.
set -eu
cd "$(dirname "$0")/.."
windows/build.sh build-windows -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
ctest --test-dir build-windows --output-on-failure
