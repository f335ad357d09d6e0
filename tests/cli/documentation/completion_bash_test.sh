#!/usr/bin/env bash
# bash completes rivode's commands, options and the names in a configuration folder, through the
# script `rivode completion bash` prints. Arguments: the rivode to test, a scratch folder.
set -uo pipefail
rivode=$1 work=$2
rm -rf "$work" && mkdir -p "$work"
config=$work/config
"$rivode" --config "$config" folder new Work || exit 1
"$rivode" --config "$config" session new 'Work\Server 1' --protocol SSH2 --host a.example || exit 1
"$rivode" --config "$config" session new 'Work/Jump' --protocol SSH2 --host b.example || exit 1

source <("$rivode" completion bash) || exit 1
complete -p rivode >/dev/null || { echo "the script registers no completion for rivode"; exit 1; }

failures=0
# check EXPECTED WORD...: the candidates for the last word, as bash would offer them.
check() {
    local expected=$1
    shift
    COMP_WORDS=("$rivode" "$@")
    COMP_CWORD=$(( ${#COMP_WORDS[@]} - 1 ))
    COMPREPLY=()
    _rivode
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd' ')
    if [[ $got != "$expected" ]]; then
        echo "FAILED: rivode $* <TAB> offered [$got], expected [$expected]"
        failures=$(( failures + 1 ))
    fi
}

check 'session sessions set' se
check 'Work/' --config "$config" session show W
check 'Work/Jump Work/Server\ 1' --config "$config" session show Work/
check 'Work/Server\ 1' session show --config "$config" Work/S
check 'Work/' --config="$config" sessions ''
check '--config --help --json --personal --product --trace --tree' --config "$config" sessions --tree --
check 'Tab\ Location Tab\ Width Tab\ Width\ Is\ Minimum' --config "$config" global get Tab
check '6' --product 6
check 'bash zsh' completion ''
check '' --config "$config" session show Work/X

echo "$(( 10 - failures )) passed, $failures failed"
(( failures == 0 ))
