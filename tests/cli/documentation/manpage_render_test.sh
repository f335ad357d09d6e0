#!/usr/bin/env bash
# man renders rivode(1) without a warning, and the page has the commands and the examples.
# Argument: the page (roff).
set -uo pipefail
page=$1
text=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" 2>"$page.warnings")
if [[ -s $page.warnings ]]; then
    echo "man warned:"
    cat "$page.warnings"
    exit 1
fi
for expected in 'rivode session show [options] PATH' '--config DIR' 'EXAMPLES' \
    'rivode global set "Tab Width" 180' 'completion'; do
    if [[ $text != *"$expected"* ]]; then
        echo "the rendered page lacks: $expected"
        exit 1
    fi
done
