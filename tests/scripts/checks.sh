# The helpers of the shell checks, sourced by each: check counts and reports one check; a missing
# outside program skips the test with a message (status 77), except in CI, which has them all.
failures=0
passes=0
check() { # description, command...
    local what=$1
    shift
    if "$@" >/tmp/qm-check.$$ 2>&1; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        echo "FAIL: $what"
        sed 's/^/    /' /tmp/qm-check.$$
    fi
    rm -f /tmp/qm-check.$$
}
require_tool() { # program, package
    command -v "$1" >/dev/null && return 0
    if [ "${CI:-}" = true ]; then
        echo "FAIL: $1 is missing: ./test installs $2"
        exit 1
    fi
    echo "SKIP: $1 is missing: install $2 to run this test"
    exit 77
}
