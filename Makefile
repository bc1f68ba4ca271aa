# Front door: `make run` builds and starts the editor, `make test` builds and runs every test.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
BENCH_BUILD ?= build-release
FUZZ_BUILD  ?= build-fuzz
JOBS        ?= $(shell nproc)
SAMPLE      ?= data/samples/payroll.cbl
# Extra cache settings for every configure, e.g. CMAKE_FLAGS=-DTAVOE_WERROR=ON in continuous integration.
CMAKE_FLAGS ?=
# Installation: `make install PREFIX=/usr DESTDIR=/tmp/root`; the package is built optimised.
PREFIX        ?= /usr/local
DESTDIR       ?=
PACKAGE_BUILD ?= build-release

.PHONY: all deps build run test test-asan bench bench-build fuzz format clean install uninstall package

all: build

deps:
	@./scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/tavoe $(SAMPLE)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVOE_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

bench: bench-build
	@for b in $(BENCH_BUILD)/bin/bench_*; do echo "== $$b"; $$b || exit 1; done
	@if [ -x bench/run_timed.sh ]; then bench/run_timed.sh $(BENCH_BUILD); fi
	@if [ -x bench/run_find.sh ]; then bench/run_find.sh $(BENCH_BUILD); fi
	@if [ -x bench/run_file_list.sh ]; then bench/run_file_list.sh $(BENCH_BUILD); fi

# The optimised build of everything, benchmarks included, without running anything.
bench-build: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVOE_FUZZ=ON \
	    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for f in $(FUZZ_BUILD)/bin/fuzz_*; do echo "== $$f"; $$f -max_total_time=60 -rss_limit_mb=2048 || exit 1; done

# The programs, libtest.so, the data tree and the manual pages under $(PREFIX) (see cmake/Install.cmake);
# only what the installation needs is built here, the data comes from the source tree.
install: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tavoe client tavoe_sample tavoe_man
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Removes what the last `make install` of this build tree wrote (same DESTDIR).
uninstall:
	DESTDIR="$(DESTDIR)" cmake --build $(BUILD) --target uninstall

# The Debian package, in $(PACKAGE_BUILD)/package/.
package: deps
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls $(PACKAGE_BUILD)/package/*.deb

format:
	find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
