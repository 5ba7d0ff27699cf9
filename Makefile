# Developer shortcuts; the scripts do the work.
.PHONY: all run test bench fuzz clean
all:
	scripts/build
run:
	scripts/run
test:
	scripts/test
bench:
	scripts/build && build/bench/vellumark_bench
clean:
	rm -rf build
fuzz:
	FUZZ_SECONDS=$${FUZZ_SECONDS:-300} scripts/fuzz
