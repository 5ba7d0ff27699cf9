# Developer shortcuts; the scripts do the work.
#   make install [PREFIX=/usr/local] [DESTDIR=/tmp/stage]
#   make package      -> build/vellumark_<version>_<arch>.deb
PREFIX ?= /usr/local
.PHONY: all run test test-deep bench screenshots install package fuzz clean
all:
	scripts/build
run:
	scripts/run
test:
	scripts/test
test-deep:
	scripts/test-deep
bench:
	scripts/deps && BUILD_TARGET=vellumark_bench scripts/build && build/bench/vellumark_bench
screenshots:
	scripts/screenshots
install:
	scripts/deps && scripts/build
	cmake --install build --prefix "$(PREFIX)"
package:
	scripts/deps && scripts/build
	cd build && cpack -G DEB
clean:
	scripts/clean
fuzz:
	FUZZ_SECONDS=$${FUZZ_SECONDS:-300} scripts/fuzz
