# Sourced by the scripts: configuring and building one build folder, the
# arguments of the ThreadSanitizer and mingw builds, and the command prefix
# that ThreadSanitizer programs run under.
# Usage: source scripts/build-env.sh <source root> <build root>
build_source=$1
build_root=$2

configure_and_build() {  # dir, cmake args...
  local dir=$1; shift
  cmake -S "$build_source" -B "$build_root/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$build_root/$dir"
}

# ThreadSanitizer cannot map its shadow memory with full address randomisation.
tsan_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTA_SANITIZE=thread)
tsan_run=(env TSAN_OPTIONS=halt_on_error=1 setarch "$(uname -m)" -R)
mingw_args=(-DCMAKE_TOOLCHAIN_FILE="$build_source/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo)
