# Two commands matter: `make preview` and `make test`. Both install what is missing first.
BUILD   ?= build
JOBS    ?= $(shell nproc)
export WINEDEBUG := -all
export WINEDLLOVERRIDES := mscoree,mshtml=

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
NATIVE_BUILD ?= build-native

.PHONY: all deps configure build dll test preview studio dist reproducible bench fuzz fuzz-build \
	fuzz-smoke texdict clean

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

# The fuzz smoke run and the reproducibility check (two DLL-only builds) come first, so that
# ctest's summary is the last thing printed.
test: build texdict
	@$(MAKE) --no-print-directory fuzz-smoke
	@$(MAKE) --no-print-directory reproducible
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The configuration code fuzzed natively with clang's libFuzzer, ASan and UBSan.
$(FUZZ_BUILD)/build.ninja: fuzz/CMakeLists.txt config/CMakeLists.txt texdict/CMakeLists.txt
	@cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ >/dev/null

fuzz-build: deps $(FUZZ_BUILD)/build.ninja
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Every target for the same time, all at once: make fuzz FUZZ_SECONDS=600.
fuzz: fuzz-build
	@fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) --stats

fuzz-smoke: fuzz-build
	@fuzz/run.sh $(FUZZ_BUILD) 10

# The default scenario on the shipped configuration, at two sizes, its dictionaries filled in
# from the art the build draws (data/ holds none); the program prints each frame it writes. It runs under Wine, so the paths it is given are Windows paths.
preview: build
	@mkdir -p out/preview
	@wine $(BUILD)/tools/preview/preview.exe --fill-art \
	    --data "$$(winepath -w '$(CURDIR)/data')" \
	    --scenario "$$(winepath -w '$(CURDIR)/tools/preview/default.scenario')" \
	    --size 1920x1080 --size 1280x720 \
	    --out "$$(winepath -w '$(CURDIR)/out/preview')"

# The live preview on the shipped configuration at three sizes: every save of a file in data/
# renders again and the page it prints follows, until Ctrl+C.
studio: build
	@mkdir -p out/studio
	@wine $(BUILD)/tools/preview/preview.exe --watch --fill-art \
	    --data "$$(winepath -w '$(CURDIR)/data')" \
	    --scenario "$$(winepath -w '$(CURDIR)/tools/preview/default.scenario')" \
	    --size 1280x720 --size 1920x1080 --size 1024x768 \
	    --out "$$(winepath -w '$(CURDIR)/out/studio')"

# Figures, not tests: the cost of a settings load and of a whole HUD frame, and how soon the
# layout editor's page shows a drag.
bench: build
	@cd $(BUILD)/tools/bench_frame && wine bench_frame.exe
	@cd $(BUILD)/tools && wine bench_settings.exe "$$(winepath -w '$(CURDIR)/data')"
	@tools/bench_edit/bench_edit.py $(BUILD)

# The release folder, its zip and the zip's SHA-256, all named with the version in VERSION.
dist: configure
	@cmake --build $(BUILD) --target tarvel_hud texture_dictionaries texdict_command preview
	@tools/make-dist.sh $(BUILD)/tarvel_hud.dll dist

# Two clean builds of the committed HEAD in two other folders give the same DLL and zip.
reproducible: deps
	@tools/check-reproducible.sh

# texdict for Linux: build-native/texdict (texdict.exe comes with the Windows build).
$(NATIVE_BUILD)/build.ninja: tools/texdict/CMakeLists.txt texdict/CMakeLists.txt config/CMakeLists.txt
	@cmake -S tools/texdict -B $(NATIVE_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null

texdict: deps $(NATIVE_BUILD)/build.ninja
	@cmake --build $(NATIVE_BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD) $(NATIVE_BUILD) dist out
