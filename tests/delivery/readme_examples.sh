#!/usr/bin/env bash
# Runs the worked examples of the README as a user runs them, so that the manual cannot drift from
# the program: every "console" block, in order, starting in the root of a scratch clone that holds
# the example files and the build's programs as build/bin. A line "$ command" is run (in one shell,
# so exports and folders carry on); the lines after it up to the next command or the end of the
# block are its expected output, standard output and standard error together. Every command must
# succeed and print exactly that, and the examples must have run the built program.
#   readme_examples.sh README EXAMPLES_DIR PROGRAM_DIR
set -uo pipefail
readme=$1
examples=$(cd "$2" && pwd)
programs=$(cd "$3" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
clone="$scratch/clone"
mkdir -p "$clone/examples" "$clone/build" "$scratch/home" "$scratch/tmp"
cp "$examples"/* "$clone/examples/"
ln -s "$programs" "$clone/build/bin"
# Settings the examples do not name go to a home of their own, never to the user's, and their
# scratch folders go where the trap removes them.
export HOME="$scratch/home" TMPDIR="$scratch/tmp"
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

cd "$clone"
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
# A pontra installed on the system would hide examples that never put the built one on the path.
if [ "$(type -P pontra)" != "$clone/build/bin/pontra" ]; then
    failed=$((failed + 1))
    echo "README examples: pontra is '$(type -P pontra)', not the built $clone/build/bin/pontra" >&2
fi
echo "README examples: $passed passed, $failed failed"
[ $failed -eq 0 ]
