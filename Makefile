# Pivex: the one entry point for building, running and testing.
#   make run [FILES='a.log b.log'] [ARGS='/g /k="ERROR"']   start Pivex (a live demo without FILES)
#   make test                                              everything CI runs
#   make bench                                             the figures of docs/performance.md
#   make package                                           $(BUILD)/pivex_<version>_<arch>.deb

BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS := $(basename $(notdir $(wildcard fuzz/fuzz_*.cpp)))
# The first report fails the test instead of scrolling by; leaks are reported at exit (Qt's
# offscreen platform leaves none behind, so nothing needs suppressing).
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
JOBS ?= $(shell nproc)

DEB_PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev qt6-base-dev-tools liblz4-dev \
	libzstd-dev pkg-config qt6-translations-l10n libgl-dev fonts-noto-cjk xvfb xauth xdotool xclip \
	imagemagick python3 x11-utils openbox librsvg2-bin qt6-gtk-platformtheme \
	lintian desktop-file-utils appstream dpkg-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build test test-unit test-asan run bench fuzz fuzz-build install package screenshot \
	clean format

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

# One after the other even under make -j: both builds want every core.
test: test-unit
	@$(MAKE) --no-print-directory test-asan

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIVEX_SANITIZE=ON -DPIVEX_BENCHES=OFF

# The whole suite but the end-to-end scripts and the package check, under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer.
test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -LE 'e2e|package'

$(FUZZ_BUILD)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DPIVEX_FUZZ=ON

fuzz-build: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZERS)

# Each target for FUZZ_SECONDS. New inputs go to a scratch corpus inside the build folder,
# seeded from the committed one, which never grows by itself; findings land in
# $(FUZZ_BUILD)/findings/.
fuzz: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/findings
	@for t in $(FUZZERS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
		echo "== $$t: $(FUZZ_SECONDS) s"; \
		log=$(FUZZ_BUILD)/findings/$$t.log; \
		$(SANITIZER_ENV) $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
			-rss_limit_mb=4096 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/findings/$$t- \
			$(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t >$$log 2>&1 \
			|| { tail -n 60 $$log; echo "$$t failed; the input is in $(FUZZ_BUILD)/findings/"; exit 1; }; \
		grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' $$log; \
	done

run: build
	@bash tools/run.sh $(BUILD)/pivex "$(FILES)" '$(subst ','\'',$(ARGS))'

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done; true

install: build
	cmake --install $(BUILD)

# The Debian package, its dependencies found by dpkg-shlibdeps.
package: build
	cd $(BUILD) && cpack
	@ls $(BUILD)/pivex_*.deb

# docs/screenshot.png from the real program; SHOTS=dir adds the menus and every dialog there.
screenshot: build
	bash tools/screenshot.sh $(BUILD)/pivex $(if $(SHOTS),--all $(SHOTS))

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
