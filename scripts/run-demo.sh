#!/usr/bin/env bash
# Installs what is missing, builds, starts the meter emulator on a pseudo-terminal and starts Zevadav,
# which finds the meter on its own. Without a display the program runs on a virtual one (Xvfb) for
# ZEVADAV_DEMO_SECONDS seconds (default 15) and leaves a screenshot in build-run/demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
headless=0
[ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && headless=1
if ((headless)); then scripts/install-deps.sh xvfb xauth imagemagick; else scripts/install-deps.sh; fi
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEVADAV_TESTS=OFF
cmake --build build-run -j2 --target zevadav meter-emulator

link=/tmp/ttyEMU0
build-run/tools/meter-emulator/meter-emulator --link "$link" --drift --records 300 \
    --transcript /tmp/zevadav-wire.txt > /tmp/zevadav-emulator.out &
emulator=$!
trap 'kill $emulator 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
echo "Meter emulator on $(head -n1 /tmp/zevadav-emulator.out) (link $link, wire transcript /tmp/zevadav-wire.txt)"

# Slot 1 holds no port and slot 2 the meter, so the search has something to pass over.
export ZEVADAV_PORTS=":$link"
if ((headless)); then
    seconds=${ZEVADAV_DEMO_SECONDS:-15}
    echo "No display: running Zevadav on Xvfb for $seconds s."
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        build-run/src/app/zevadav & program=$!
        sleep $(( '"$seconds"' > 6 ? 6 : '"$seconds"' ))
        import -window root build-run/demo.png && echo "Screenshot: build-run/demo.png"
        sleep $(( '"$seconds"' > 6 ? '"$seconds"' - 6 : 0 ))
        kill $program; wait $program 2>/dev/null || true'
else
    build-run/src/app/zevadav
fi
