# make run   install what is missing, build, and start the aquarium (see README.md)
# make test  install what is missing, build, and run every test
.PHONY: all deps build host win run test test-host test-wine bench bench-compare clean dist longrun

MAKEFLAGS += --no-print-directory

BUILD   := build
JOBS    ?= $(shell nproc)
HOSTDIR := $(BUILD)/host
WINDIR  := $(BUILD)/win

all: build

deps:
	@scripts/install-deps.sh

host: deps
	@test -f $(HOSTDIR)/CMakeCache.txt || cmake -S . -B $(HOSTDIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(HOSTDIR) -j $(JOBS)

win: host
	@test -f $(WINDIR)/CMakeCache.txt || cmake -S . -B $(WINDIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DART_DIR=$(CURDIR)/$(HOSTDIR)/art >/dev/null
	@cmake --build $(WINDIR) -j $(JOBS) --target NerithScr NerithScr_instr win_tests winctl

build: host win

run: build
	@scripts/run.sh

test: build
	@scripts/test.sh

test-host: host
	@scripts/test.sh host

test-wine: build
	@scripts/test.sh wine

# A zip for Windows users: the program, the screen saver and a read-me (in out/).
dist: build
	@scripts/dist.sh

bench: host
	@cmake --build $(HOSTDIR) -j $(JOBS) --target host_bench
	@$(HOSTDIR)/host_bench

# Frame rate and CPU per frame at full load next to xscreensaver's atlantis, on one private Xvfb
# (BENCH_SIZE="1680 1050" for another screen size), then the frame clock's period and the stage
# times from the instrumented build's log. Installs the peer when it is missing.
BENCH_SCRIPT ?= $(firstword $(wildcard ../shared/measure/side-by-side.sh ../../shared/measure/side-by-side.sh) \
                            ../shared/measure/side-by-side.sh)
BENCH_SIZE   ?= 1024 768
bench-compare: build
	@test -x /usr/libexec/xscreensaver/atlantis || { \
	    SUDO=; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	    DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq xscreensaver-gl-extra >/dev/null || \
	    { $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq xscreensaver-gl-extra >/dev/null; }; }
	@log=$$(mktemp /tmp/nerith-bench.XXXXXX); \
	    NERITH_LOG_COPY="Z:$$(printf '%s' "$$log" | tr / '\\')" $(BENCH_SCRIPT) $(WINDIR) $(BENCH_SIZE); \
	    scripts/bench-report.sh "$$log"; rm -f "$$log"

clean:
	rm -rf $(BUILD) out

# The BMP fuzzer of the texture loaders (clang, libFuzzer): builds it and runs it for two minutes.
.PHONY: fuzz
fuzz: host
	@cmake --build $(HOSTDIR) --target bmp_fuzz_run

# The long run: 500 menus and 50 openings of each dialog over the running tank
# (LONGRUN_MENUS, LONGRUN_DIALOGS), with the process's memory, GDI objects and windows at start and end.
longrun: build
	@scripts/test.sh e2e long_run
