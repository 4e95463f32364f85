# Sourced by the PostgreSQL scripts: builds the extension from the CMake
# build in build/ (target marrowfield_postgres: PGXS in build/postgres) and
# installs it into the system's server with PGXS's `make install`, the way
# a developer does. Defines pg_make, which runs PGXS there (for instance
# `pg_make installcheck`). Expects tools/setup.sh to have run.
#
# Refuses while the Debian package of the extension is installed: `make
# install` would overwrite the package's files behind dpkg's back, and
# removing the package later would delete this installation.
# (tools/package_test.sh, in turn, sets aside an installation made here
# while it tests the package, and puts it back afterwards.)

pg_source=$PWD/postgres
pg_build=$PWD/build/postgres
pg_package=postgresql-$(pg_config --version | sed -E 's/^PostgreSQL ([0-9]+).*/\1/')-marrowfield
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if [ "$(dpkg-query -W -f='${db:Status-Status}' "$pg_package" 2>/dev/null)" = installed ]; then
  echo "$(basename "$0"): the package ${pg_package} is installed: make install would overwrite" \
    "its files; remove it first (apt purge ${pg_package})" >&2
  exit 1
fi

pg_make() {
  make -s -C "$pg_build" -f "$pg_source/Makefile" VPATH="$pg_source" \
    MARROWFIELD_BUILD="$PWD/build" "$@"
}
cmake --build build -j"$(nproc)" --target marrowfield_postgres >/dev/null
$sudo env "PATH=$PATH" make -s -C "$pg_build" -f "$pg_source/Makefile" \
  VPATH="$pg_source" MARROWFIELD_BUILD="$PWD/build" install
