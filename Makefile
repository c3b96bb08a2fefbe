# The two commands of the README: `make demo` and `make test`.
# SANITIZE=1 builds into build-sanitize with clang, AddressSanitizer and UndefinedBehaviorSanitizer; the same
# build holds the fuzz harnesses (`make fuzz`).
# WERROR=1 turns every compiler warning into an error (CI builds so); `make format-check` fails on any file
# clang-format would change.

MAKEFLAGS += --no-print-directory

SANITIZE ?= 0
SANITIZE_FLAGS = -DVQ_SANITIZE=ON -DVQ_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
	-DVQ_BUILD_BENCHMARKS=OFF
ifeq ($(SANITIZE),1)
BUILD ?= build-sanitize
CMAKE_FLAGS += $(SANITIZE_FLAGS)
else
BUILD ?= build
endif
ifeq ($(WERROR),1)
CMAKE_FLAGS += -DVQ_WERROR=ON
else
CMAKE_FLAGS += -DVQ_WERROR=OFF
endif
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEMO_DIR ?= $(BUILD)/demo-client

# `make fuzz FUZZ_SECONDS=N` builds the fuzz harnesses in the sanitizer build and runs each for N seconds,
# FUZZ_PARALLEL of them at a time; it fails on any finding.
FUZZ_BUILD ?= build-sanitize
FUZZ_SECONDS ?= 60
FUZZ_PARALLEL ?= 1

.PHONY: all deps configure build test demo demo-folder format format-check fuzz windows-check clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

demo-folder: build
	@$(BUILD)/bin/vq-sample-folder "$(DEMO_DIR)"
	@printf '[FOLDER]\r\npatpath=%s\r\n' "$(abspath $(DEMO_DIR))" > $(BUILD)/bin/VQV50DEBUG.INI
	@echo "demo: client folder $(abspath $(DEMO_DIR))"

demo: demo-folder
	@./scripts/demo-run.sh "$(BUILD)" "$(abspath $(DEMO_DIR))"

fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) $(SANITIZE_FLAGS) $(filter -DVQ_WERROR=%,$(CMAKE_FLAGS)) >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target vq_fuzz
	@./scripts/fuzz-run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_PARALLEL)

# Every source file compiled for Windows (mingw-w64, syntax only): what only the users' platform would see.
windows-check: deps
	@./scripts/windows-check.sh $(JOBS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	rm -rf build build-sanitize
