# Shared by scripts/run and scripts/test: the Debian packages the build needs, installed when missing.
# Source it; it defines ensure_packages and TABRIX_BUILD_PACKAGES.

TABRIX_BUILD_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libbenchmark-dev
  libxlsxwriter-dev zlib1g-dev libstb-dev
  python3 python3-xlrd python3-openpyxl python3-xlwt
  libreoffice-calc-nogui
  clang libclang-rt-14-dev
  qt6-base-dev qt6-wayland xvfb xauth weston fonts-noto-cjk
  desktop-file-utils
)

ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}" >&2
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
