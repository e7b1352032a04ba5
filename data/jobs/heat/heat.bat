#!/bin/sh
# Heating job: the field in the box around the focus, then the bioheat equation and the thermal dose.
cd "$(dirname "$0")" || exit 1
exec ../kormax-calc heating
