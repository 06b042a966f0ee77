# Sourced by the shell tests: one line a check, and the closing count that CI reads.
passed=0
failed=0

check() { # NAME COMMAND...: runs COMMAND, a result line under NAME
    local name=$1
    shift
    if "$@"; then
        echo "ok: $name"
        passed=$((passed + 1))
    else
        echo "FAILED: $name"
        failed=$((failed + 1))
    fi
}

# The closing line; the script's exit status.
summary() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
