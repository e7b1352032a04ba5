#!/bin/sh
# Design batch: scores the candidates of candidates.txt in this folder with the field calculator.
cd "$(dirname "$0")" || exit 1
exec ../kormax-calc design
