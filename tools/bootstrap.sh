# Shared by ./test and ./play: install what is missing, configure and build.
# Sourced, not run; expects the repository root as the working folder.

TV_PACKAGES=(g++ cmake make libgtest-dev libbenchmark-dev qt6-base-dev libjpeg62-turbo-dev
  libx11-dev libsdl2-mixer-dev libfluidsynth-dev pkgconf timgm6mb-soundfont fonts-dejavu-core fonts-liberation2 xvfb xauth openbox xdotool ccache poppler-utils)

# Only for ./test --office: the office suite our RTF is checked against.
TV_OFFICE_PACKAGES=(libreoffice-writer-nogui)

# Only for ./test --fuzz: clang and its libFuzzer.
TV_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# tv_missing_packages [packages...]: those of the list (TV_PACKAGES by default) not installed.
tv_missing_packages() {
  local p
  [ $# -gt 0 ] || set -- "${TV_PACKAGES[@]}"
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

tv_apt() {
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -q -y -o DPkg::Lock::Timeout=600 "$@"
}

# tv_install_missing [packages...]: installs those of the list (TV_PACKAGES by default) missing.
tv_install_missing() {
  local missing log
  missing=$(tv_missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "Installing: $(echo $missing)"
  log=$(mktemp)
  # A fresh machine may have no package lists yet: update once when the first try fails.
  if ! tv_apt install --no-install-recommends $missing >"$log" 2>&1; then
    if ! { tv_apt update && tv_apt install --no-install-recommends $missing; } >"$log" 2>&1; then
      cat "$log"; rm -f "$log"
      echo "Package installation failed." >&2
      return 1
    fi
  fi
  rm -f "$log"
}

# tv_build <build folder> <cmake options...>
tv_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G "Unix Makefiles" "$@" >"$dir/configure.log" 2>&1 || {
    cat "$dir/configure.log"; return 1; }
  cmake --build "$dir" -j "$(nproc)" -- --no-print-directory
}
