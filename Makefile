# `make run` and `make test` do all set-up on a fresh Debian 12 machine.
.PHONY: run test fuzz build package deps format clean

run: deps build
	./build/tokeiya

test: deps
	scripts/run-tests.sh

build:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build -j$$(nproc) --target tokeiya tokeiya-dbsetup

# The Debian package, build/tokeiya_<version>_<arch>.deb, for installing on the office's PCs.
package: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build -j$$(nproc)
	cd build && cpack -G DEB

# The definition readers' fuzzers, one minute each (also part of `make test`).
fuzz: deps
	scripts/fuzz.sh

deps:
	scripts/install-deps.sh

format:
	git ls-files '*.cpp' '*.hpp' | xargs clang-format -i

clean:
	rm -rf build build-asan build-fuzz
