#!/bin/sh
# Score job: scores the element layout of this folder with the field calculator.
cd "$(dirname "$0")" || exit 1
exec ../kormax-calc score
