# Sourced by the Windows build's scripts: fetch a Debian source package through a private apt
# configuration (one deb-src line for the machine's own mirror), leaving the machine's sources as
# they are, and unpack it without Debian's patches.
#   lumora_fetch_source PACKAGE WORKDIR   sets SOURCE_DIR (unpacked), SOURCE_VERSION, SOURCE_DSC
lumora_fetch_source() {
  local package=$1 work=$2 mirror
  mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial" "$work/src"
  mirror=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  [ -n "$mirror" ] || mirror=$(awk '/^deb / { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)
  [ -n "$mirror" ] || { echo "no Debian mirror found in the apt sources" >&2; return 2; }
  echo "deb-src $mirror bookworm main" >"$work/apt/sources.list"
  local apt_opts=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
                  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache::Archives=$work/apt/archives"
                  -o APT::Sandbox::User=root)
  apt-get "${apt_opts[@]}" update -qq >&2 || return 1
  (cd "$work/src" && apt-get "${apt_opts[@]}" source --download-only -qq "$package" >/dev/null) || return 1
  SOURCE_DSC=$(ls "$work/src/${package}"_*.dsc 2>/dev/null | head -n 1 || true)
  [ -n "$SOURCE_DSC" ] && [ -f "$SOURCE_DSC" ] || { echo "no $package source package was fetched" >&2; return 2; }
  SOURCE_VERSION=$(awk '/^Version:/ { print $2; exit }' "$SOURCE_DSC")
  # dpkg-source checks the tarballs against the .dsc's checksums (apt checked the .dsc against
  # the signed index).
  (cd "$work/src" && dpkg-source --skip-patches -x "$SOURCE_DSC" "$package" >"$work/unpack-$package.log" 2>&1) ||
    { cat "$work/unpack-$package.log" >&2; return 1; }
  SOURCE_DIR="$work/src/$package"
}
