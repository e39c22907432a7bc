#!/usr/bin/env bash
# The completion of orvane-cli as bash runs it on TAB: the words typed so far, the offers.
set -uo pipefail
script=${1:?usage: completion_test.sh COMPLETION_SCRIPT}
# shellcheck source=/dev/null
source "$script"

failures=0
# complete LINE: the offers for the last word of LINE (a trailing blank starts a new word).
complete_line() {
    read -ra COMP_WORDS <<<"$1"
    [[ $1 == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$1
    COMP_POINT=${#1}
    _orvane_cli orvane-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}
expect() {
    local got
    got=$(complete_line "$1")
    if [[ $got != "$2" ]]; then
        echo "FAIL: '$1' offers '$got', expected '$2'"
        ((failures++))
    fi
}

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
touch club.orv new.hex new.enc notes.txt
mkdir saved

# Commands, actions and options, also behind the global options.
expect 'orvane-cli fi' 'firmware'
expect 'orvane-cli ' 'config firmware help list monitor send'
expect 'orvane-cli --device 2 --verbose con' 'config'
expect 'orvane-cli firmware fl' 'flash'
expect 'orvane-cli config ' 'bootloader read write'
expect 'orvane-cli --v' '--verbose --version'
expect 'orvane-cli send --r' '--reads'
expect 'orvane-cli list --' '--device --help --json --verbose'
expect 'orvane-cli firmware flash new.enc --w' '--wait'
expect 'orvane-cli monitor --s' '--seconds'
expect 'orvane-cli monitor --csv ' 'saved'
# Files by kind; folders are offered to walk into. No file after the one a command takes,
# none where a number goes.
expect 'orvane-cli config write ' 'club.orv saved'
expect 'orvane-cli config read -o ' 'club.orv saved'
expect 'orvane-cli firmware flash ' 'new.enc new.hex saved'
expect 'orvane-cli firmware check n' 'new.enc new.hex'
expect 'orvane-cli firmware encrypt ' 'new.hex saved'
expect 'orvane-cli firmware encrypt new.hex -o ' 'new.enc saved'
expect 'orvane-cli firmware flash new.hex ' ''
expect 'orvane-cli --device ' ''

if ((failures > 0)); then
    echo "$failures completion(s) wrong"
    exit 1
fi
echo "completion: all offers as expected"
