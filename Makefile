# welcome-station: `make run` starts the program, `make test` proves it.
# Both install missing Debian packages first (as root; otherwise they print
# the apt-get line to run).
.PHONY: run test snapshots linux sanitize windows run-windows test-windows snapshots-windows bench soak fuzz format clean

JOBS ?= $(shell nproc)

linux:
	@tools/ensure-packages.sh linux
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux -j $(JOBS)

run: linux
	@tools/run-linux.sh build/linux/src/framework/qt/welcome-station

test: linux
	ctest --preset linux -j $(JOBS)
	@$(MAKE) --no-print-directory sanitize
	@$(MAKE) --no-print-directory test-windows

sanitize:
	@cmake --preset linux-sanitize >/dev/null
	@cmake --build --preset linux-sanitize -j $(JOBS)
	ctest --preset linux-sanitize -j $(JOBS)

snapshots: linux
	@tools/snapshots.sh
	@$(MAKE) --no-print-directory snapshots-windows

windows:
	@tools/windows.sh build

run-windows:
	@tools/windows.sh run

test-windows:
	@tools/windows.sh test

snapshots-windows:
	@tools/windows.sh snapshots

bench: linux
	@bench/run.sh

soak: linux
	@tools/soak.sh

# 10,000 random user actions under the sanitizers; SEED=N repeats a run.
fuzz:
	@cmake --preset linux-sanitize >/dev/null
	@cmake --build --preset linux-sanitize -j $(JOBS) --target fuzz_events
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    build/linux-sanitize/tests/fuzz_events --steps 10000 $(if $(SEED),--seed $(SEED))

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
