# Sourced by tools/windows/ci.sh and tools/windows/wine32_tests.sh: the one
# i686 build both use. The Windows stage builds only the 32-bit XLL in it,
# to check and ship beside the 64-bit one; the windows32 stage then builds
# the tests there and finds the XLL current. The two must configure the
# folder exactly alike: a changed launcher or option would rebuild all of
# it, and the XLL the windows32 stage tests would not be the one shipped.
#
# configure_i686_build BUILD NATIVE_BUILD
#   writes the native library's reference answers into BUILD and configures
#   BUILD with the i686 toolchain, tools/windows/wine32_chroot.sh as the
#   emulator ctest runs each program through, and ccache where there is
#   one (for a developer's many rebuilds; CI's fresh machine builds once).
#   Expects NATIVE_BUILD configured and to be run from the source root.

configure_i686_build() {
  local build=$1 native=$2 scores launchers=()
  cmake --build "$native" --target write_engine_scores -j "${MARROWFIELD_JOBS:-$(nproc)}" >/dev/null
  mkdir -p "$build"
  scores=${build}/native_engine_word_pair_scores.txt
  "${native}/tests/addin/write_engine_scores" tests/addin/data/word_pairs.txt "$scores"
  if command -v ccache >/dev/null; then
    launchers=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B "$build" "${launchers[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="${PWD}/cmake/mingw-w64-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR="${PWD}/tools/windows/wine32_chroot.sh" \
    -DMARROWFIELD_NATIVE_ENGINE_SCORES="$scores" >/dev/null
}
