BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps build run test test-sanitize bench clean install deb

all: build

deps:
	@./scripts/install-deps.sh

$(BUILD_DIR)/build.ninja: CMakeLists.txt
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: deps $(BUILD_DIR)/build.ninja
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/src/korvane

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in a build folder of its
# own. Slow; not part of 'make test'. Leaks inside system libraries are suppressed in
# tools/sanitize/lsan.supp; any other report fails the test it comes from. The leak checker
# does not read thread-local storage: in a process that has loaded the image plug-in it
# crashes there (LLVM 14 and glibc 2.36).
SANITIZE_DIR ?= build-sanitize
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tools/sanitize/lsan.supp:print_suppressions=0:use_tls=0 \
	UBSAN_OPTIONS=print_stacktrace=1

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

bench: build
	./bench/run-all.sh $(BUILD_DIR)

# DESTDIR, when given, is put in front of PREFIX, for staging and packaging.
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# A Debian package in $(BUILD_DIR), its dependencies found by dpkg-shlibdeps.
deb: build
	@cd $(BUILD_DIR) && cpack -G DEB -C RelWithDebInfo >/dev/null && ls "$$PWD"/korvane_*.deb

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
