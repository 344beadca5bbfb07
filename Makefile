# yomu: the two commands of the quick start are `make run` and `make test`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
PREFIX ?= /usr/local

.PHONY: all deps build run shots test asan bench install clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/Makefile: CMakeLists.txt
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS)

# Opens the reader's window on the sample novel; builds only the reader and the novel.
run: deps $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS) --target yomu demo
	$(BUILD)/yomu $(BUILD)/demo

# Reads the sample novel headless and leaves a screenshot of each page in
# build/demo-shots/.
shots: deps $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS) --target yomu demo
	@mkdir -p $(BUILD)/demo-shots
	$(BUILD)/yomu --headless --events demo/shots.events $(BUILD)/demo > $(BUILD)/demo-shots/log.txt
	@echo "Pages of the sample novel: $(BUILD)/demo-shots/"

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DYOMU_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan-suppressions.txt \
		ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/yomu_bench

# The program, its man page, desktop entry, icons and metainfo under PREFIX.
install: deps $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS) --target yomu
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
