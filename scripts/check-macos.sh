#!/usr/bin/env bash
# Compiles, for syntax only, every source the macOS build compiles, against the macOS SDK:
#
#     MACOS_SDK=/path/to/MacOSX13.3.sdk bash scripts/check-macos.sh [build folder]
#
# CMake configures the Apple build (cmake/MacOSSDKToolchain.cmake: clang 16 for arm64-apple-macos13,
# the same CMake lists, so the same sources and flags, warnings as errors included); moc and rcc
# write their sources; then every entry of the build's compile_commands.json runs again with
# -fsyntax-only. A wrong selector, an undeclared function, a call newer than macOS 13 or any
# warning fails the check. Nothing is linked, so nothing here proves that the app runs.
#
# Needs, besides scripts/install-deps.sh, Debian's clang 16 (its libc++ is the one the SDK's headers
# expect) and LLVM's binary tools: `apt-get install clang-16 llvm-16`. Debian's Qt, ICU and
# RapidJSON headers stand in for Homebrew's. The SDK is a folder holding SDKSettings.json,
# System/ and usr/, for example the root/ folder of github.com/hexops/sdk-macos-13.3; it is never
# part of this repository.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ -z "${MACOS_SDK:-}" ]]; then
    echo "check-macos: MACOS_SDK is not set, so the macOS build was NOT checked (nothing to do)."
    exit 0
fi
if [[ ! -f "$MACOS_SDK/SDKSettings.json" ]]; then
    echo "check-macos: $MACOS_SDK is not a macOS SDK (it has no SDKSettings.json)" >&2
    exit 1
fi
for tool in clang++-16 llvm-ar-16; do
    command -v "$tool" >/dev/null ||
        { echo "check-macos: $tool is missing: apt-get install clang-16 llvm-16" >&2; exit 1; }
done

mkdir -p "${1:-build-macos}"
build=$(cd "${1:-build-macos}" && pwd)
start=$SECONDS

# The third-party headers, each folder on its own so that the SDK's C library is never shadowed
# by Debian's /usr/include.
standIns=$build/stand-ins/include
mkdir -p "$standIns"
ln -sfn /usr/include/unicode "$standIns/unicode"
ln -sfn /usr/include/rapidjson "$standIns/rapidjson"

export MACOS_SDK
cmake -S . -B "$build" -G Ninja --toolchain "$PWD/cmake/MacOSSDKToolchain.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_WERROR=ON \
    -DKELVANE_BUILD_TESTS=OFF -DKELVANE_BUILD_BENCH=OFF \
    -DCMAKE_PREFIX_PATH="/usr/lib/$(g++ -print-multiarch)/cmake" \
    -DRAPIDJSON_INCLUDE_DIRS="$standIns" \
    -DPKG_CONFIG_ARGN="--define-variable=includedir=$standIns" >"$build/configure.log" ||
    { cat "$build/configure.log"; exit 1; }

python3 - "$build" <<'EOF'
import concurrent.futures
import json
import os
import shlex
import subprocess
import sys

build = os.path.realpath(sys.argv[1])
with open(os.path.join(build, "compile_commands.json")) as file:
    entries = json.load(file)

# The sources under the build folder are moc's and rcc's. They are written first, by their own
# commands alone: through ninja they would wait for the libraries the app links, built for real.
for file in sorted({entry["file"] for entry in entries if entry["file"].startswith(build + os.sep)}):
    command = subprocess.run(["ninja", "-C", build, "-t", "commands", "-s", file],
                             check=True, capture_output=True, text=True).stdout
    subprocess.run(command, shell=True, cwd=build, check=True, stdout=subprocess.DEVNULL)

def syntaxOnly(entry):
    words = shlex.split(entry["command"])
    kept = []
    skip = False
    for word in words:
        if skip:
            skip = False
        elif word == "-o":
            skip = True
        elif word != "-c":
            kept.append(word)
    result = subprocess.run(kept + ["-fsyntax-only"], cwd=entry["directory"],
                            capture_output=True, text=True)
    return entry["file"], result.returncode, result.stdout + result.stderr

failed = 0
with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
    for file, code, output in pool.map(syntaxOnly, entries):
        if code != 0 or output:
            failed += 1
            print(f"== {os.path.relpath(file)}\n{output}", end="")
print(f"check-macos: {len(entries)} sources compiled for arm64-apple-macos13, {failed} failed")
sys.exit(1 if failed else 0)
EOF
echo "check-macos: passed in $((SECONDS - start)) s"
