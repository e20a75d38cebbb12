# Skyvane: `make run` builds and starts the program on its simulated camera and mount;
# `make test` builds and runs every test. Both install what a fresh Debian 12 machine lacks.

BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run test build deps bench clean

run: deps build
	$(BUILD)/skyvane $(ARGS)

test: deps build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

build: $(BUILD)/Makefile
	cmake --build $(BUILD) -j$(JOBS)

$(BUILD)/Makefile: CMakeLists.txt
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

deps:
	@tools/install-deps.sh

bench: deps
	@tools/install-deps.sh bench
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DSKYVANE_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS) --target skyvane_bench
	$(BUILD)/bench/skyvane_bench

clean:
	rm -rf $(BUILD)
