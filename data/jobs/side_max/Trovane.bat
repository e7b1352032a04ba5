#!/bin/sh
# Side-maxima scan job: runs the field calculator on the job files of this folder.
cd "$(dirname "$0")" || exit 1
exec ../kormax-calc side_max
