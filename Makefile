# Pivex: the one entry point for building, running and testing.
#   make run [FILES='a.log b.log'] [ARGS='/g /k="ERROR"']   start Pivex (a live demo without FILES)
#   make test                                              everything CI runs
#   make bench                                             the figures of docs/performance.md

BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

DEB_PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev qt6-base-dev-tools \
	qt6-translations-l10n libgl-dev fonts-noto-cjk xvfb xauth xdotool xclip imagemagick \
	python3 x11-utils

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build test test-unit test-asan run bench fuzz fuzz-build install clean format

deps:
	@missing=$$(for p in $(DEB_PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test-unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE e2e
	cd $(BUILD) && ctest --output-on-failure -L e2e

test: test-unit

run: build
	@bash tools/run.sh $(BUILD)/pivex "$(FILES)" '$(subst ','\'',$(ARGS))'

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done; true

install: build
	cmake --install $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
