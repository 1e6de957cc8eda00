# Developer entry points. `make test` and `make run` work on a fresh machine:
# missing build tools are installed first (as root, with apt-get).

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX     ?= /usr/local
# The Python that `make install` installs the package mosk for.
PYTHON     ?= python3
# Extra mosk-solve options for `make run`, for example MOSK_FLAGS=-v or
# MOSK_FLAGS="--format json"
MOSK_FLAGS ?=

.PHONY: all deps build test run sanitize-test fuzz bench bench-sweep install plots clean

all: build

deps:
	@tools/install-build-tools

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	@$(BUILD)/src/frontend/mosk-solve $(MOSK_FLAGS) examples/mm1k.table

# Installs mosk and mosk-solve in $(PREFIX)/bin, the workers in
# $(PREFIX)/lib/mosk/Pendra/bin (where mosk-solve finds them), the man pages
# and the bash completion, and the Python package mosk for $(PYTHON) below
# $(PREFIX) (pip builds it offline; --prefix also passes a system Python's
# refusal to install outside a virtual environment).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	$(PYTHON) -m pip install --quiet --no-deps --no-build-isolation --prefix $(PREFIX) ./python
	@cd / && $(PYTHON) -c 'import mosk; print("mosk for Python:", mosk.__file__)' 2>/dev/null || \
		echo "mosk for Python is below $(PREFIX)/lib; add its site-packages to PYTHONPATH"

# The pictures of the README and docs/pictures, drawn from the examples:
# sweeps of a flat M/M/1/K over its arrival rate, of the M/D/1/K over its
# deterministic service time and over a grid of both, and the graph of the
# M/M/1/K with its steady-state probabilities.
PICTURES    ?= docs/pictures
SOLVE_QUIET  = $(BUILD)/src/frontend/mosk-solve --no-progress
plots: build
	mkdir -p $(PICTURES)
	$(SOLVE_QUIET) --set arrival=0.25:2:15 --plot $(PICTURES)/mm1k-arrival.svg \
		--plot-measures p0,p5,mean,arrivals examples/mm1k.table >/dev/null
	$(SOLVE_QUIET) --set service=0.1:0.9:17 --plot $(PICTURES)/md1k-service.svg \
		--plot-measures p0,p5,mean,arrivals examples/md1k.table >/dev/null
	$(SOLVE_QUIET) --set arrival=0.5:2:13 --set service=0.3,0.5,0.7 \
		--plot $(PICTURES)/md1k-grid.svg --plot-measures p0,p5,mean,arrivals \
		examples/md1k.table >/dev/null
	$(SOLVE_QUIET) --graph $(PICTURES)/mm1k-graph.svg examples/mm1k.table >/dev/null

sanitize-test: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DMOSK_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The fuzzers of the description and delays-file readers for FUZZ_SECONDS
# seconds in all; fails on any finding.
FUZZ_SECONDS ?= 60
fuzz: deps
	tools/fuzz-reader $(FUZZ_SECONDS)

# The benchmark table: the real mosk on the nets of bench/models, built
# optimised in its own directory. Kanban and FMS sizes up to BENCH_MAX (5 to
# 7 take minutes and gigabytes), from 5 on also the 30,000-place ring and the
# 65,535-token infinite-server station (the counters of 10^4 and 10^6 states
# run at every level); BENCH_RUNS runs per size, medians reported;
# BENCH_SOLVER s (what mosk-solve runs by default), i (mosk's relaxation) or a
# (mosk's elimination first). Each row shows the estimated and the real error
# against bench/references; `make bench BENCH_FLAGS=--make-references` adds
# missing references.
BENCH_BUILD  ?= build-bench
BENCH_MAX    ?= 4
BENCH_RUNS   ?= 1
BENCH_SOLVER ?= s
BENCH_FLAGS  ?=
bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DMOSK_BENCH=ON
	cmake --build $(BENCH_BUILD) --target mosk kiln_da ekiln -j $(JOBS)
	python3 bench/run_bench.py --mosk $(BENCH_BUILD)/src/run/mosk \
		--max-size $(BENCH_MAX) --runs $(BENCH_RUNS) --solver $(BENCH_SOLVER) $(BENCH_FLAGS)

# What a sweep of mosk-solve costs per value against single runs (and its
# error against the closed form), for SWEEP_VALUES values.
SWEEP_VALUES ?= 16
bench-sweep: build
	python3 bench/sweep_overhead.py --mosk-solve $(BUILD)/src/frontend/mosk-solve \
		--values $(SWEEP_VALUES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
