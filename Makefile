# make run   installs what is missing, builds, starts Tessaly on its demo data
# make test  installs what is missing, builds, runs every test
# make package builds the .deb
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
WERROR := $(if $(CI),ON,OFF)

.PHONY: all deps build run test clean package

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTESSALY_WERROR=$(WERROR) >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD_DIR)

test: build
	@scripts/gui-env run -- ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS) --timeout 300

# A .deb of the installed program (build/tessaly_*.deb).
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)

# Benchmarks and fuzzing are never part of `make test`.
.PHONY: bench fuzz
bench: build
	@scripts/install-deps --bench
	@$(BUILD_DIR)/bench/bench_parsers
	@$(BUILD_DIR)/bench/bench_worker
	@$(BUILD_DIR)/bench/bench_feeds
	@$(BUILD_DIR)/bench/bench_history
	@python3 tools/sitesim/sitesim.py --dump 8 --every 15 >$(BUILD_DIR)/demo-items.jsonl
	@$(BUILD_DIR)/bench/story_share $(BUILD_DIR)/demo-items.jsonl bench/data/flash-sample.jsonl
	@scripts/gui-env run -- $(BUILD_DIR)/bench/bench_news
	@scripts/gui-env run -- bench/footprint $(BUILD_DIR)

FUZZ_SECONDS ?= 60
fuzz: deps
	@fuzz/run-fuzzers $(FUZZ_SECONDS)
