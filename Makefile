# Gorvanel: `make play` builds the game and starts it; `make test` builds and runs every test;
# `make bench` runs the benchmarks on an optimised build and prints one table of them; `make fuzz` runs
# every fuzz target for FUZZ_SECONDS each; `make golden` stores the golden frames anew (after a meant
# change of what a screen shows: look at the PNGs first). Each installs what it needs first.

DEPS := cmake ninja-build g++ pkg-config \
        libsdl2-dev libsdl2-mixer-dev libfreetype-dev libfontconfig-dev libfluidsynth-dev libcurl4-openssl-dev \
        libgtest-dev libgmock-dev libbenchmark-dev \
        timgm6mb-soundfont fonts-dejavu-core crawl-tiles-data libpng-dev \
        fonts-averia-serif-gwf fonts-averia-sans-gwf fonts-liberation2 fonts-linuxlibertine \
        clang libclang-rt-14-dev xvfb xauth x11-utils xdotool imagemagick python3 iproute2

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 600

.PHONY: play test golden tsan bench fuzz media-sheet package deps build-play build-test build-bench clean

deps:
	@missing=$$(for p in $(DEPS); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
	    $$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing || \
	    { $$sudo apt-get update -q && \
	      $$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; }; \
	fi

build-play: deps
	cmake -S . -B build/play -G Ninja -DCMAKE_BUILD_TYPE=Release -DGORV_TESTS=OFF
	cmake --build build/play -j $(JOBS)

play: build-play
	cd build/play/dist && ./Gorvanel

build-test: deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGORV_SANITIZE=ON -DGORV_TESTS=ON
	cmake --build build/test -j $(JOBS)

test: build-test
	cd build/test && ctest --output-on-failure -j $(JOBS)

# The golden frames of tests/game/golden/ (tests/game/support/golden.h), stored anew by every test whose
# suite is named Golden... from the screens as the test build now draws them; the PNGs they are made
# from lie beside the test programs in build/test.
golden: build-test
	cd build/test && GORV_UPDATE_GOLDEN=1 ctest -R Golden -j $(JOBS)

build-bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DGORV_TESTS=OFF -DGORV_BENCH=ON
	cmake --build build/bench -j $(JOBS)

# Every benchmark program runs, then the real game under a virtual X server with sound on through SDL's
# dummy driver (bench/player.py: its first frame beside a bare SDL program's, its memory to a unit's turn
# and over 20 days, its idle processor time; pictures in build/bench/player), then one table of them all;
# a benchmark that reports an error or misses its goal, or a goal no benchmark measured, fails it.
bench: build-bench
	cd build/bench && rm -f bench-results.txt && failed=0 && \
	for b in bench/bench_*; do [ -x "$$b" ] || continue; \
	    GORV_BENCH_RESULTS=$(CURDIR)/build/bench/bench-results.txt "./$$b" || failed=1; done; \
	python3 $(CURDIR)/bench/player.py dist bench/baresdl tools/gorvpack $(CURDIR)/content/tessarine.manifest \
	    bench-results.txt player || failed=1; \
	bench/benchtable bench-results.txt $(CURDIR)/bench/goals.txt || failed=1; \
	exit $$failed

# The fuzz targets of the test build (tests/fuzz), each for FUZZ_SECONDS, from the seeds and what earlier
# runs found.
fuzz: deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGORV_SANITIZE=ON -DGORV_TESTS=ON
	cmake --build build/test -j $(JOBS) --target fuzz_build
	cd build/test && GORV_FUZZ_SECONDS=$(FUZZ_SECONDS) ctest -L fuzz --output-on-failure -j $(JOBS)

# The threaded tests (the image loader's workers, the debug log's writer) under ThreadSanitizer, in a
# build of their own. A race ends the process that found it, so one found in a child process (the
# log's crashes) fails its test too.
tsan: deps
	cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGORV_TSAN=ON -DGORV_TESTS=ON
	cmake --build build/tsan -j $(JOBS) --target shell_tests
	cd build/tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -R 'ImagesTest|DebugLog'

# Every picture as a labelled PNG in build/play/media-sheet/, to look at.
media-sheet: deps
	cmake -S . -B build/play -G Ninja -DCMAKE_BUILD_TYPE=Release -DGORV_TESTS=OFF
	cmake --build build/play -j $(JOBS) --target media-sheet

# The installer's folder, to copy anywhere: build/play/package/ holds the installer, its package
# INSTALL.DLL and the component modules packed from the built game directory.
package: build-play
	cmake --build build/play -j $(JOBS) --target gorv_package

clean:
	rm -rf build
