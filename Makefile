# Two commands for a fresh clone:
#   make run    builds the program alone and runs it on examples/data_1.txt
#   make test   builds everything (tests, benchmark) and runs every test
# and one to install the program and its manual, stripped, in Release:
#   make install PREFIX=/usr/local
BUILD ?= build
RELEASE_BUILD ?= build-release
PREFIX ?= /usr/local
CMAKE_FLAGS ?=
JOBS ?= 2

.PHONY: all configure run test install clean

all: configure
	cmake --build $(BUILD) -j$(JOBS)

configure:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

run: configure
	cmake --build $(BUILD) -j$(JOBS) --target podbor
	cd examples && printf 'data_1.txt\n' | ../$(BUILD)/podbor && echo

test: all
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

install:
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=Release -DPODBOR_TESTS=OFF -DPODBOR_BENCH=OFF
	cmake --build $(RELEASE_BUILD) -j$(JOBS) --target podbor
	cmake --install $(RELEASE_BUILD) --strip --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(RELEASE_BUILD)
