# Thin wrapper over CMake: `make run` and `make test` are all a new machine needs.
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps deps-run configure build run test package bench clean

all: build

# Everything: building, running, the tests, benchmarks and checks.
deps:
	@scripts/install-deps.sh

# Only what building and running the program needs.
deps-run:
	@scripts/install-deps.sh --run

# Configuring needs only the run packages: the tests are added where their
# packages are found.
configure:
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

# The whole tree: the program, its tests and the packaging files.
build: deps configure
	@cmake --build $(BUILD) -j $(JOBS)

# The program alone, then started.
run: deps-run configure
	@cmake --build $(BUILD) -j $(JOBS) --target zentaro
	@scripts/run.sh $(BUILD)/zentaro

# Every test, each run once: a test that fails now and then is a fault to mend.
test: build
	@ctest --test-dir $(BUILD) --no-tests=error --output-on-failure -j $(JOBS)

# The real-window tests on every desktop session (tests/x11_desktops): the
# ones `make test` runs and the heavier KDE, Xfce and Wayland ones.
.PHONY: desktops
desktops: build
	@scripts/install-deps.sh --desktops
	@ctest --test-dir $(BUILD) --no-tests=error -C desktops -L desktop --output-on-failure -j $(JOBS)

package: build
	@cd $(BUILD) && cpack -G DEB

# Benchmarks want an optimised build of their own, without the tests.
BENCH_BUILD ?= build-release
bench: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
		-DZENTARO_BUILD_BENCHMARKS=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@bench/run-all.sh $(BENCH_BUILD)

# The full soak session, sanitized (build-asan) and plain (build-soak); slow.
.PHONY: soak
soak: deps
	@JOBS=$(JOBS) scripts/soak.sh

# The program under valgrind memcheck, driven with xdotool; slow.
.PHONY: valgrind
valgrind: build
	@scripts/valgrind-check.sh $(BUILD)

# Rewrites the project's sources in the project's clang-format style.
.PHONY: format
format:
	@scripts/check-format.sh --fix

clean:
	rm -rf $(BUILD)
