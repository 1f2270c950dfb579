# The project's two main commands (make run, make test) and the desktop demo (make demo).
# Each installs what is missing, configures and builds first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
LOCKS_BUILD ?= build-thread-safety
FUZZ_SECONDS ?= 60
FUZZERS    := json_text ini_file engine reports file_type_filter tab_export
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all deps configure build run test test-format test-docs test-main test-asan test-tsan test-thread-safety test-fuzz fuzz fuzz-merge docs demo designer package clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The main job: compare the bundled sample files and directories.
run: build
	@scripts/run-main-job $(BUILD)

# Every test: the layout of the sources, the API reference without a warning, the normal
# build, then the core under ASan+UBSan, the threading tests under TSan, the lock
# annotations checked by clang, and a short pass of every fuzzer over its seeds.
test: test-format test-docs test-main test-asan test-tsan test-thread-safety test-fuzz

# The style of .clang-format on every C++ file changed since it was adopted.
test-format: deps
	scripts/check-format

# The API reference (Doxygen over the public headers) into $(BUILD)/docs/html. Any
# warning, such as a public name without a comment, fails it.
docs: deps
	rm -rf $(BUILD)/docs
	mkdir -p $(BUILD)/docs
	LINDREL_DOCS_OUTPUT=$(abspath $(BUILD))/docs \
	  LINDREL_VERSION=$$(sed -n 's/^project(Lindrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt) \
	  doxygen docs/api/Doxyfile
	@echo "docs: $(BUILD)/docs/html/index.html"

test-docs: docs

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DLINDREL_SANITIZE="address;undefined" -DLINDREL_BUILD_BENCHMARKS=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE browser

# Only the tests labelled "threads" run under TSan, so only they are built.
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DLINDREL_SANITIZE=thread -DLINDREL_BUILD_GUI=OFF -DLINDREL_BUILD_BENCHMARKS=OFF
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target \
	  $$(ctest --test-dir $(TSAN_BUILD) -N -L threads | sed -n 's/^ *Test *#[0-9]*: //p')
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --test-dir $(TSAN_BUILD) --output-on-failure -j $(JOBS) -L threads

# The core and the Qt layer compiled by clang with -Wthread-safety -Werror: a shared member
# touched without its lock fails the build. Compiling is the check; nothing runs.
test-thread-safety:
	@scripts/install-deps thread-safety
	CC=clang CXX=clang++ cmake -S . -B $(LOCKS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DLINDREL_THREAD_SAFETY=ON -DLINDREL_BUILD_BENCHMARKS=OFF -DBUILD_TESTING=OFF
	cmake --build $(LOCKS_BUILD) -j $(JOBS) --target lindrel lindrel_widgets
	@echo "thread-safety: the core and the Qt layer compile clean"

# The libFuzzer harnesses (clang), each run for FUZZ_SECONDS on a copy of its seed corpus;
# new inputs stay in $(FUZZ_BUILD)/corpus, crashes in $(FUZZ_BUILD)/findings.
fuzz:
	@scripts/install-deps fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DLINDREL_BUILD_GUI=OFF -DLINDREL_BUILD_BENCHMARKS=OFF -DBUILD_TESTING=OFF \
	  -DLINDREL_BUILD_FUZZERS=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZERS))
	@set -e; for name in $(FUZZERS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$name $(FUZZ_BUILD)/findings; \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$name -max_total_time=$(FUZZ_SECONDS) \
	    -artifact_prefix=$(FUZZ_BUILD)/findings/$$name- \
	    $(FUZZ_BUILD)/corpus/$$name fuzz/corpus/$$name; \
	done

# Folds what earlier `make fuzz` runs found into the seed corpora: of the new inputs, only
# a small set (a greedy set cover) that covers what they add beyond the seeds joins
# fuzz/corpus.
fuzz-merge:
	@set -e; for name in $(FUZZERS); do \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$name -set_cover_merge=1 fuzz/corpus/$$name \
	    $(FUZZ_BUILD)/corpus/$$name; \
	done

# The fuzzers' share of `make test`: every harness briefly on its seeds (and whatever
# earlier runs left in $(FUZZ_BUILD)/corpus).
test-fuzz:
	$(MAKE) fuzz FUZZ_SECONDS=20
	@echo "fuzz: $(words $(FUZZERS)) passed, 0 failed"

demo: build
	$(BUILD)/demo/LindrelDemo

# Qt Designer with the component in its widget box (the build tree's plugin).
designer: build
	QT_PLUGIN_PATH=$(abspath $(BUILD))/plugins /usr/lib/qt6/bin/designer

# The Debian packages (library, Qt layer, development files, command line, desktop program,
# Designer plugin), built by CPack into $(BUILD)/packages.
package: build
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(LOCKS_BUILD)
