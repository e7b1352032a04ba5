#!/bin/sh
# Volume job: |p| of the array in the box of grid_volume.txt around the focus.
cd "$(dirname "$0")" || exit 1
exec ../kormax-calc volume
