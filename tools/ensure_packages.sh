# Sourced by build.sh and test.sh: installs the Debian packages the project needs,
# skipping those already present; runs apt-get update at most once.
apt_updated=0

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        package_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    for package in "${missing[@]}"; do
        if [[ "$package" == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
            dpkg --add-architecture i386
            apt_updated=0
        fi
    done
    if [ "$apt_updated" -eq 0 ]; then
        echo "Installing ${missing[*]}"
        apt-get update -q >/dev/null
        apt_updated=1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake make g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686)
TEST_PACKAGES=(wine wine32:i386 googletest clang libclang-rt-14-dev)
