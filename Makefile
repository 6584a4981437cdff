# The two set-up commands of the README, plus benchmarks.
#   make run    install what is missing, build, start the program
#   make test   install what is missing, build (plain and sanitized), run every test
#   make bench  install what is missing, build the benchmarks, run them (and the
#               whole-process timings of bench/*.sh, with qrencode as peer)
#   make fuzz   build the libFuzzer programs with clang, run each FUZZ_SECONDS
#               (make -j2 fuzz runs two at a time)
#   make valgrind  run the command-line tests with the tool under valgrind
#   make package   the Debian packages qrsmith, qrsmith-gui, libqrsmith0, libqrsmith-dev in dist/

JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
VALGRIND_BUILD ?= build-valgrind
PACKAGE_BUILD ?= build-package
CMAKE_FLAGS ?=

.PHONY: deps build run install package test test-plain test-asan test-package bench fuzz fuzz-build \
        valgrind clean

deps:
	@bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# The window when there is a display; otherwise a sample symbol on the terminal.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -x ./$(BUILD)/app/qrsmith-gui ]; then \
	  exec ./$(BUILD)/app/qrsmith-gui; \
	else \
	  echo "qrsmith: no display here; a sample symbol from the command-line tool instead:"; \
	  ./$(BUILD)/cli/qrsmith "https://qrsmith.example/hello"; \
	fi

PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A build of its own, without tests: the packages install under /usr and
# link the system's shared image libraries and C++ runtime (Debian allows no
# embedded copies), with all of Debian's hardening flags (stack protector,
# FORTIFY, PIE, relro and bind-now), since the tools read untrusted pictures and CSV files.
# CPack then installs each component into its package.
package: deps
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DQRSMITH_BUILD_TESTS=OFF -DQRSMITH_BUNDLE_IMAGE_LIBRARIES=OFF $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	rm -rf $(PACKAGE_BUILD)/cpack dist
	cd $(PACKAGE_BUILD) && cpack -G DEB
	mkdir -p dist && cp $(PACKAGE_BUILD)/cpack/*.deb dist/

# The tests build with warnings as errors (QRSMITH_WERROR), as CI does.
TEST_FLAGS := -DQRSMITH_WERROR=ON

test-plain: deps
	cmake -S . -B $(BUILD) -G Ninja $(TEST_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQRSMITH_SANITIZE=ON $(TEST_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  ctest --output-on-failure -j $(JOBS)

# Installs the packages on this machine (apt-get, as root or through sudo),
# checks them as their users would, and removes them again.
test-package: package
	bash scripts/check-package $(PACKAGE_BUILD)

test: test-plain test-asan test-package

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQRSMITH_BUILD_TESTS=OFF -DQRSMITH_BUILD_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/*_bench; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done
	@echo "== bench/startup.sh"; bash bench/startup.sh $(BENCH_BUILD)/cli/qrsmith
	@echo "== bench/batch.sh"; bash bench/batch.sh $(BENCH_BUILD)/cli/qrsmith

# Each fuzzer starts from the committed seeds of fuzz/corpus/<target>/ and keeps
# what it finds in $(FUZZ_BUILD)/corpus/<target>/; a crash is written to
# $(FUZZ_BUILD)/artifacts/. A crashing input belongs in fuzz/corpus/<target>/
# once its fault is mended, so that `make test` replays it from then on.
FUZZ_SECONDS ?= 600
FUZZ_TARGETS := bmp_reader ico_reader image_decoder generate_round_trip enlarged_export vector_writers
FUZZ_FLAGS ?= -malloc_limit_mb=2048 -rss_limit_mb=2560 -max_len=8192 -timeout=60

fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQRSMITH_FUZZ=ON -DQRSMITH_BUILD_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addsuffix _fuzz,$(FUZZ_TARGETS))

fuzz-%: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/corpus/$* $(FUZZ_BUILD)/artifacts
	@echo "fuzz: $* for $(FUZZ_SECONDS) s, log in $(FUZZ_BUILD)/$*.log"
	@$(FUZZ_BUILD)/fuzz/$*_fuzz $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -artifact_prefix=$(FUZZ_BUILD)/artifacts/$*- $(FUZZ_BUILD)/corpus/$* fuzz/corpus/$* \
	  > $(FUZZ_BUILD)/$*.log 2>&1; status=$$?; \
	  grep -E "^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::|ERROR|SUMMARY" $(FUZZ_BUILD)/$*.log | sed "s/^/$*: /"; \
	  exit $$status

fuzz: $(addprefix fuzz-,$(FUZZ_TARGETS))

# Slow (every run of the tool takes seconds), so not part of make test. Each
# run's findings go to $(VALGRIND_BUILD)/tests/cli/valgrind.<pid>.log.
valgrind: deps
	cmake -S . -B $(VALGRIND_BUILD) -G Ninja -DQRSMITH_CLI_VALGRIND=ON $(CMAKE_FLAGS)
	cmake --build $(VALGRIND_BUILD) -j $(JOBS) --target cli_tests qrsmith qrsmith_reader
	rm -f $(VALGRIND_BUILD)/tests/cli/valgrind.*.log
	cd $(VALGRIND_BUILD) && ctest --output-on-failure -j $(JOBS) -R '^Cli'
	@found=$$(find $(VALGRIND_BUILD)/tests/cli -name 'valgrind.*.log' -size +0c); \
	  if [ -n "$$found" ]; then cat $$found; exit 1; fi; echo "valgrind: no errors, no leaks"

clean:
	rm -rf dist $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(VALGRIND_BUILD) $(PACKAGE_BUILD)
