# Installs what building and testing need, when it is missing. Sourced by scripts/run and
# scripts/test; apt-get needs root (CI runs as root).
stripmixer_packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev
                     libgtest-dev libgmock-dev fonts-comic-neue fonts-dejavu-core)

stripmixer_install_deps() {
    local missing=() p
    for p in "${stripmixer_packages[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
