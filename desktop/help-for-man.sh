#!/bin/sh
# Runs $LYRA_PROGRAM with the given option and hands its text to help2man, with the
# command line's usage list written as help2man reads one ("Usage:" then "  or:").
"$LYRA_PROGRAM" "$@" | awk '
  /^usage:$/ { usage = 1; first = 1; next }
  usage && /^  lyrabox-cli / { sub(/^  /, ""); print (first ? "Usage: " : "  or:  ") $0; first = 0; next }
  { usage = 0; print }'
