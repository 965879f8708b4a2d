#!/usr/bin/env bash
# Runs the worked examples of the README, so that the manual cannot drift from the program: every
# "console" block, in order, in one scratch folder holding a copy of the example files. A line
# "$ command" is run (in one shell, so exports and folders carry on); the lines after it up to the
# next command or the end of the block are its expected output, standard output and standard
# error together. Every command must succeed and print exactly that.
#   readme_examples.sh README EXAMPLES_DIR PROGRAM_DIR
set -uo pipefail
readme=$1
examples=$(cd "$2" && pwd)
export PATH="$(cd "$3" && pwd):$PATH"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/work" "$scratch/home"
cp "$examples"/* "$scratch/work/"
# Settings the examples do not name go to a home of their own, never to the user's.
export HOME="$scratch/home"
unset XDG_CONFIG_HOME KESTREL_REGISTRY_FILE

commands=()
expected=()
lines=()
in_block=0
number=0
while IFS= read -r line || [ -n "$line" ]; do
    number=$((number + 1))
    if [ $in_block = 0 ]; then
        [ "$line" = '```console' ] && in_block=1
        continue
    fi
    if [ "$line" = '```' ]; then
        in_block=0
    elif [ "${line#\$ }" != "$line" ]; then
        commands+=("${line#\$ }")
        expected+=("")
        lines+=("$number")
    elif [ ${#commands[@]} -gt 0 ]; then
        last=$((${#commands[@]} - 1))
        expected[$last]+="$line"$'\n'
    fi
done <"$readme"
if [ ${#commands[@]} -eq 0 ]; then
    echo "README examples: no console block in $readme" >&2
    exit 1
fi

cd "$scratch/work"
passed=0
failed=0
for i in "${!commands[@]}"; do
    eval "${commands[$i]}" >"$scratch/output" 2>&1
    status=$?
    output=$(cat "$scratch/output")
    want=${expected[$i]%$'\n'}
    if [ $status -ne 0 ] || [ "$output" != "$want" ]; then
        failed=$((failed + 1))
        echo "README line ${lines[$i]}: \$ ${commands[$i]}" >&2
        echo "  exit status $status; printed:" >&2
        sed 's/^/  | /' "$scratch/output" >&2
        echo "  expected:" >&2
        printf '%s\n' "$want" | sed 's/^/  | /' >&2
    else
        passed=$((passed + 1))
    fi
done
echo "README examples: $passed passed, $failed failed"
[ $failed -eq 0 ]
