# The two set-up commands of the README, plus benchmarks.
#   make run    install what is missing, build, start the program
#   make test   install what is missing, build (plain and sanitized), run every test
#   make bench  install what is missing, build the benchmarks, run them

JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
CMAKE_FLAGS ?=

.PHONY: deps build run install test test-plain test-asan bench clean

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

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQRSMITH_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

test: test-plain test-asan

bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQRSMITH_BUILD_TESTS=OFF -DQRSMITH_BUILD_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/*_bench; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
