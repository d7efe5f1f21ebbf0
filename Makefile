# Front door. `make run` and `make test` install what is missing, configure, build and go.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
GENERATOR  := -G Ninja
CTEST_ARGS ?= --output-on-failure -j $(JOBS)

.PHONY: all bootstrap build test run bench asan fuzz format clean screenshots install package

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: bootstrap $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest $(CTEST_ARGS)

run: build
	@scripts/run-app $(BUILD)/bin

# Installs under PREFIX (/usr/local), below DESTDIR when it is set, through CMake's rules.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# A Debian package in $(BUILD)/, installed under /usr.
package: build
	cmake --build $(BUILD) --target package

bench: build
	@scripts/run-bench $(BUILD)/bin

# The same tests under the address and undefined-behaviour sanitizers, in a build of its own.
$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTAVLO_SANITIZE=ON \
	      -DTAVLO_BUILD_BENCH=OFF

asan: bootstrap $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && scripts_dir=$(CURDIR)/scripts $(CURDIR)/scripts/sanitizer-env ctest $(CTEST_ARGS)

# libFuzzer targets, built with clang; FUZZ_SECONDS per target (default one minute).
fuzz: bootstrap
	@scripts/run-fuzz $(FUZZ_BUILD) $(or $(FUZZ_SECONDS),60)

# Every window drawn offscreen into $(BUILD)/screenshots/, one PNG per language and scene
# (LANGUAGE=JPN draws one language).
screenshots: bootstrap $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target tavlo_screenshots
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/tavlo_screenshots $(BUILD)/screenshots $(if $(LANGUAGE),--language $(LANGUAGE))

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
