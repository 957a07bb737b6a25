# Thin wrapper over CMake.  `make` builds build/ntbench (Release), `make run`
# starts it here, `make test` builds and runs the tests, `make bench` the
# benchmarks, `make mpi` builds build/ntbench-mpi (OpenMPI, which `make` and
# `make run` never need; `make test` and `make bench` build and try it too).
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
# The build shows its progress lines and its errors in full, without the
# directory notices of the recursive makes or CMake's configuration chatter.
MAKEFLAGS += --no-print-directory
CONFIGURE = cmake --log-level=WARNING -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

.PHONY: all run test test-full bench asan deps deps-mpi mpi clean

all: deps
	@test -f $(BUILD)/CMakeCache.txt || $(CONFIGURE)
	@cmake --build $(BUILD) -j $(JOBS) --target ntbench

run: all
	@./$(BUILD)/ntbench

# A build directory configured before OpenMPI was installed looks for it again.
test: deps-mpi
	@test -f $(BUILD)/CMakeCache.txt || $(CONFIGURE)
	@test -d $(BUILD)/src/mpi || cmake --log-level=WARNING $(BUILD) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE full

# The full oracle sweeps (slow): every input of the dense ranges, not a sample.
test-full: test
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L full

# Without ntbench-mpi: the MPI library is not built with the sanitizers.
asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNTBENCH_SANITIZE=ON -DNTBENCH_MPI=OFF $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS) -LE full

bench: deps-mpi
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DNTBENCH_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	bash bench/run.sh build-bench

# `make install PREFIX=/usr/local` (DESTDIR is honoured): bin/ntbench and the
# manual page; `make package` builds the Debian package in $(BUILD).
PREFIX ?= /usr/local
.PHONY: install package
install: all
	cmake --install $(BUILD) --prefix $(PREFIX)

package: all
	cd $(BUILD) && cpack
# The libFuzzer targets (clang), the whole workbench and the one-shot
# commands, for SECONDS seconds in all (half each).  New inputs collect in
# build-fuzz/corpus and build-fuzz/commands_corpus, findings in
# build-fuzz/findings.
.PHONY: fuzz
SECONDS ?= 60
fuzz:
	JOBS=$(JOBS) bash tools/fuzz.sh $(SECONDS)

# The README's pictures under doc/, drawn by the commands themselves
# through gnuplot (Debian package gnuplot-nox).
.PHONY: pictures
pictures: all
	./$(BUILD)/ntbench goldbach 6 2000000 --plot doc/goldbach-comet.png
	./$(BUILD)/ntbench pi 2 100000000 --step 100000 --plot doc/pi.png
	./$(BUILD)/ntbench gaps 1 200 2 100000000 --histogram --plot doc/gaps.png
	./$(BUILD)/ntbench divisor-counts 100000000 --plot doc/divisor-counts.png

# ntbench-mpi: the range commands over the ranks of an MPI job.  A build
# directory configured before OpenMPI was there looks for it again.
mpi: deps-mpi
	@$(CONFIGURE) -DNTBENCH_MPI=ON
	@cmake --build $(BUILD) -j $(JOBS) --target ntbench-mpi

# Say which Debian package is missing, and install it when we may (root, apt).
deps:
	@bash tools/deps.sh
deps-mpi:
	@bash tools/deps.sh mpi

clean:
	rm -rf $(BUILD) build-asan build-bench
