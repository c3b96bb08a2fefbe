# The two commands of the README: `make demo` and `make test`.
# SANITIZE=1 builds into build-sanitize with AddressSanitizer and UndefinedBehaviorSanitizer.
# WERROR=1 turns every compiler warning into an error (CI builds so); `make format-check` fails on any file
# clang-format would change.

MAKEFLAGS += --no-print-directory

SANITIZE ?= 0
ifeq ($(SANITIZE),1)
BUILD ?= build-sanitize
CMAKE_FLAGS += -DVQ_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
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

.PHONY: all deps configure build test demo demo-folder format format-check clean

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

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	rm -rf build build-sanitize
