# Two commands matter: `make preview` and `make test`. Both install what is missing first.
BUILD   ?= build
JOBS    ?= $(shell nproc)
export WINEDEBUG := -all
export WINEDLLOVERRIDES := mscoree,mshtml=

.PHONY: all deps configure build dll test preview dist bench fuzz clean

all: build

deps:
	@tools/install-deps.sh

$(BUILD)/build.ninja: CMakeLists.txt cmake/mingw-i686.cmake
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

configure: deps $(BUILD)/build.ninja

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

dll: configure
	@cmake --build $(BUILD) --target tarvel_hud

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

preview: build
	@cd $(BUILD)/tools/preview && wine preview.exe

dist: dll
	@tools/make-dist.sh $(BUILD) dist

clean:
	rm -rf $(BUILD) dist out
