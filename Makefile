# Thin wrapper over CMake: `make run` and `make test` are all a new machine needs.
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test package bench clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/zentaro

# A real-window test that fails is run once more: one openbox drag case
# (x11_reticle, StandardBianco transparent) has been seen to fail on the first
# run after a fresh build, the window one step ahead of the pointer, and pass
# on every rerun; its cause is not found yet. A failure shows in the output
# either way.
test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --repeat until-pass:2

# The real-window tests on every desktop session (tests/x11_desktops): the
# ones `make test` runs and the heavier KDE, Xfce and Wayland ones.
.PHONY: desktops
desktops: build
	@scripts/install-deps.sh --desktops
	@ctest --test-dir $(BUILD) -C desktops -L desktop --output-on-failure -j $(JOBS)

package: build
	@cd $(BUILD) && cpack -G DEB

# Benchmarks want an optimised build of their own, without the tests.
BENCH_BUILD ?= build-release
bench:
	@$(MAKE) --no-print-directory build BUILD=$(BENCH_BUILD) \
		CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF"
	@bench/run-all.sh $(BENCH_BUILD)

# The full soak session, sanitized (build-asan) and plain (build-soak); slow.
.PHONY: soak
soak: deps
	@JOBS=$(JOBS) scripts/soak.sh

# The program under valgrind memcheck, driven with xdotool; slow.
.PHONY: valgrind
valgrind: build
	@scripts/valgrind-check.sh $(BUILD)

clean:
	rm -rf $(BUILD)
