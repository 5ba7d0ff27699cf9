# Developer shortcuts; the scripts do the work.
#   make install [PREFIX=/usr/local] [DESTDIR=/tmp/stage]
#   make package      -> build/vellumark_<version>_<arch>.deb
PREFIX ?= /usr/local
.PHONY: all run test bench screenshots install package fuzz clean
all:
	scripts/build
run:
	scripts/run
test:
	scripts/test
bench:
	scripts/build && build/bench/vellumark_bench
screenshots:
	scripts/screenshots
install:
	scripts/deps && scripts/build
	cmake --install build --prefix "$(PREFIX)"
package:
	scripts/deps && scripts/build
	cd build && cpack -G DEB
clean:
	rm -rf build
fuzz:
	FUZZ_SECONDS=$${FUZZ_SECONDS:-300} scripts/fuzz
