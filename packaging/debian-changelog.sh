#!/usr/bin/env bash
# Writes the Debian changelog made from CHANGELOG.md to OUTPUT (default: standard output):
#   packaging/debian-changelog.sh CHANGELOG.md PACKAGE "NAME <ADDRESS>" [OUTPUT]
# Every released "## [VERSION] - YYYY-MM-DD" section becomes one entry, newest first as in the
# file; "Unreleased" is left out. A section's "### Added" (Changed, Fixed ...) heading starts the
# entry's group of that name, each "- item" becomes a "*" line wrapped at 76 columns. The entry's
# date is the release date at 00:00 UTC, so the same file gives the same changelog on any day.
set -euo pipefail
[ $# -eq 3 ] || [ $# -eq 4 ] || { echo "usage: $0 CHANGELOG.md PACKAGE 'NAME <ADDRESS>' [OUTPUT]" >&2; exit 2; }
changelog=$1 package=$2 maintainer=$3
[ $# -eq 3 ] || exec >"$4"
awk -v package="$package" -v maintainer="$maintainer" '
  function flush_item() {
    if (item == "") return
    n = split(item, words, " ")
    line = "  *"
    for (i = 1; i <= n; i++) {
      if (length(line) + 1 + length(words[i]) > 76 && line != "  *") { print line; line = "   " }
      line = line " " words[i]
    }
    print line
    item = ""
  }
  function close_entry() {
    flush_item()
    if (version == "") return
    if (!items) { print "  * No notable changes." }
    cmd = "date -u -R -d " date
    cmd | getline stamp
    close(cmd)
    print ""
    print " -- " maintainer "  " stamp
    print ""
    version = ""
  }
  /^## \[/ {
    close_entry()
    if (match($0, /^## \[[^]]+\] - [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]/)) {
      version = $0; sub(/^## \[/, "", version); sub(/\].*/, "", version)
      date = $0; sub(/.*\] - /, "", date); date = substr(date, 1, 10)
      print package " (" version ") unstable; urgency=medium"
      print ""
      items = 0
    }
    next
  }
  version == "" { next }
  /^### / { flush_item(); if (items) print ""; group = $0; sub(/^### /, "", group); print "  [ " group " ]"; next }
  /^- / { flush_item(); item = substr($0, 3); items++; next }
  /^  +[^ ]/ && item != "" { t = $0; sub(/^ +/, "", t); item = item " " t; next }
  /^[^ #-]/ { flush_item(); t = $0; item = t; items++; next }
  { flush_item() }
  END { close_entry() }
' "$changelog" | sed 's/`//g'
