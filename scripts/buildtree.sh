# Sourced by scripts/run and scripts/test: the build tree and the compile
# flags they share, so that whichever runs first fills the compile cache
# (and the tree) for the other.
#   source scripts/buildtree.sh [--asan]   sets dir and opts
dir=build
# Line tables are all a failing test's backtrace needs; full debug
# information triples the build tree and costs a quarter of the compile time.
opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" -DVOLTARIS_TESTS=ON)
if [ "$1" = "--asan" ]; then
    dir=build-asan
    opts=(-DCMAKE_BUILD_TYPE=Debug -DVOLTARIS_SANITIZE=ON -DVOLTARIS_TESTS=ON)
fi
