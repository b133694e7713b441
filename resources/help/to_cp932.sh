#!/bin/sh
# to_cp932.sh IN OUT: writes the UTF-8 text IN to OUT in code page 932 with CR LF line ends.
# Fails on a character that code page 932 cannot hold, so no page ships with a wrong one.
set -e
iconv -f UTF-8 -t CP932 -o "$2.part" "$1"
sed 's/\r*$/\r/' "$2.part" > "$2"
rm -f "$2.part"
