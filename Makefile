# yomu: the two commands of the quick start are `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local

.PHONY: all deps-run deps-test deps-fuzz configure configure-sanitizers build run shots test \
	asan bench fuzz \
	fuzz-run install clean

all: build

# What each purpose needs of Debian: reading, then the tests, then fuzzing.
deps-run:
	@scripts/install-deps.sh run
deps-test:
	@scripts/install-deps.sh test
deps-fuzz:
	@scripts/install-deps.sh fuzz

# Line tables are the debug information kept (-g1): enough for a backtrace or a
# sanitizer's report to name every line, at a sixth less build time and a third of
# the size of full debug information.
LINE_TABLES = -g1

# Configured again each time, so that the tests join a build first made without
# their libraries; quick when nothing changed.
configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYOMU_WERROR=ON \
		"-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 $(LINE_TABLES) -DNDEBUG" > /dev/null

build: deps-test configure
	cmake --build $(BUILD) -j $(JOBS)

# Opens the reader's window on the sample novel; builds only the reader and the novel.
run: deps-run configure
	cmake --build $(BUILD) -j $(JOBS) --target yomu demo
	$(BUILD)/yomu $(BUILD)/demo

# Reads the sample novel headless and leaves a screenshot of each page in
# build/demo-shots/.
shots: deps-run configure
	cmake --build $(BUILD) -j $(JOBS) --target yomu demo
	@mkdir -p $(BUILD)/demo-shots
	$(BUILD)/yomu --headless --events demo/shots.events $(BUILD)/demo > $(BUILD)/demo-shots/log.txt
	@echo "Pages of the sample novel: $(BUILD)/demo-shots/"

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# One build with AddressSanitizer and UBSan (clang) serves both: the tests under the
# sanitizers (make asan) and the libFuzzer targets of fuzz/ (make fuzz).
configure-sanitizers: deps-fuzz
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DYOMU_FUZZ=ON -DYOMU_WERROR=ON \
		-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
		"-DCMAKE_CXX_FLAGS_DEBUG=$(LINE_TABLES)" > /dev/null

asan: configure-sanitizers
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan-suppressions.txt \
		ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target yomu_bench
	$(BUILD)/yomu_bench

# The libFuzzer targets of fuzz/ and their seed corpora, in the sanitizers' build.
fuzz: configure-sanitizers
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target fuzz_targets
	fuzz/seed-corpora.sh $(ASAN_BUILD)

# Runs each fuzz target for FUZZ_SECONDS on its corpus.
fuzz-run: fuzz
	fuzz/run-targets.sh $(ASAN_BUILD) $(FUZZ_SECONDS)

# The program, its man page, desktop entry, icons and metainfo under PREFIX.
install: deps-run configure
	cmake --build $(BUILD) -j $(JOBS) --target yomu
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
