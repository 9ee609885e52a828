# Two commands for a fresh clone:
#   make run    builds podbor and runs it on examples/data_1.txt
#   make test   builds podbor and runs every test
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= 2

.PHONY: all configure run test clean

all: configure
	cmake --build $(BUILD) -j$(JOBS)

configure:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

run: all
	cd examples && printf 'data_1.txt\n' | ../$(BUILD)/podbor && echo

test: all
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD)
